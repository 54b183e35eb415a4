// SPDX-License-Identifier: Apache-2.0
// The few conversions every part of the dialog layer needs at the toolkit's
// boundary: the application instance, narrow text, icons.
#ifndef KELM_FRAMEWORK_UI_QTBRIDGE_H
#define KELM_FRAMEWORK_UI_QTBRIDGE_H

#include "framework/dialogs/AfxWinTypes.h"

#include <QIcon>
#include <QString>

#include <string>

class QtBridge
{
public:
    // Creates the application instance when none exists (tests and programs
    // that did not go through the framework's main()).
    static void EnsureApplication();

    // The user interface's texts: captions, labels, messages, menus, in the
    // language in use (AfxLanguage.h).
    static QString ToQt(const std::string& narrow);
    static std::string FromQt(const QString& text);
    // What the operator types and the tracker names: Windows-1252 in every
    // language, so that the settings file and the calls never change with it.
    static QString ToQtData(const std::string& narrow);
    static std::string FromQtData(const QString& text);
    // The mnemonic of a caption: the letter after the first single '&'
    // ("&&" is a literal ampersand), lower case; null when there is none.
    static QChar MnemonicOf(const QString& text);

    // The icon behind a handle from CWinApp::LoadIcon, built on first use.
    static QIcon IconOf(HICON icon);
    static HICON LoadIconResource(unsigned id);
};

#endif
