// SPDX-License-Identifier: Apache-2.0
// Static texts, icons (SS_ICON) and group boxes' labels.
#ifndef KELM_FRAMEWORK_CSTATIC_H
#define KELM_FRAMEWORK_CSTATIC_H

#include "framework/dialogs/CWnd.h"

class CStatic : public CWnd
{
public:
    HICON SetIcon(HICON icon); // returns the previous icon
    HICON GetIcon() const;
};

#endif
