// SPDX-License-Identifier: Apache-2.0
#include "res/Resources.h"

#include "res/AccessibleNames.h"
#include "res/DialogTemplates.h"
#include "res/Icons.h"
#include "res/StringTable.h"
#include "res/Translations.h"

void ResRegisterProgramResources()
{
    // The string table names no application title, so message boxes carry
    // this fixed one.
    AfxSetResources({"Kelm Utilities", kResStringTable, kResStringCount, kResDialogTemplates,
                     kResDialogTemplateCount, kResIcons, kResIconCount, kResAccessibleNames,
                     kResAccessibleNameCount, kResLanguages, kResLanguageCount});
}
