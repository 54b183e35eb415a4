// SPDX-License-Identifier: Apache-2.0
// The language of the operator's texts. The string table and the dialog
// templates a program hands over are its English; a translation replaces each
// text it holds, found by a key that names where the text belongs. One
// language is chosen at start-up from the desktop's list; until then, and
// when the desktop asks for none the program has, English is shown.
//
// The user interface's narrow text is the table's code page (Windows-1252) in
// English, and UTF-8 in a translation, whose letters that code page cannot
// hold. What the program exchanges with the outside (edits, the tracker's
// names) stays in Windows-1252 in every language.
#ifndef KELM_FRAMEWORK_AFXLANGUAGE_H
#define KELM_FRAMEWORK_AFXLANGUAGE_H

#include "framework/core/AfxResources.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace AfxLanguage
{
// Keys: "string 5052", "dialog 130", "dialog 130 control 1011", and for a
// control without an id of its own "dialog 133 item 19" (its place in the
// template); the application title of message boxes is "application title".
std::string StringKey(unsigned id);
std::string DialogKey(unsigned dialogId);
std::string ItemKey(unsigned dialogId, const ResDialogItem& item, std::size_t index);
extern const char* const kTitleKey;

// Chooses the first of the desktop's languages, in its order, that the
// program has a translation for. A tag names a language ("de"), or a
// language with a script or a territory ("de-DE", "pt_BR", "zh-Hans-CN",
// "de_DE.UTF-8"); a translation for a territory ("pt_BR") is taken only for
// that territory, and "zh_CN" for simplified Chinese. Returns the name of the
// translation chosen, "en" when none.
std::string Choose(const std::vector<std::string>& preferred);

// Shows the given texts (key to UTF-8) from now on; an empty name shows
// English. For tests, which also try made-up languages.
void Use(const std::string& name, const std::map<std::string, std::string>& texts);

// "en", or the name of the translation in use.
std::string Active();
bool Translated();

// The translated text of key in UTF-8, null when the language in use has none
// (English, or a text that stays as it is).
const char* Find(const std::string& key);

// The printf conversions of a format ("%d", "%s", "%u" ...) in order; "%%"
// is none. A translation whose conversions differ from its English is never
// used, so that no translated format can read what the program did not pass.
std::vector<std::string> Conversions(std::string_view format);

// Between the user interface's narrow text and UTF-8 (see above). In a
// translation, bytes that are no UTF-8 are read as Windows-1252, so that an
// English text or a tracker's name still shows as it is.
std::string UiToUtf8(std::string_view narrow);
std::string Utf8ToUi(std::string_view utf8);
} // namespace AfxLanguage

#endif
