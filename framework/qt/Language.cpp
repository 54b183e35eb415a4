// SPDX-License-Identifier: Apache-2.0
#include "framework/qt/Language.h"

#include "framework/core/AfxLanguage.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>
#include <vector>

namespace
{
// The toolkit's translations in use; replaced when the language changes.
std::unique_ptr<QTranslator>& ToolkitTranslator()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}
} // namespace

namespace Language
{
void ChooseFromDesktop()
{
    std::vector<std::string> tags;
    for (const QString& tag : QLocale::system().uiLanguages())
    {
        tags.push_back(tag.toStdString());
    }
    AfxLanguage::Choose(tags);
    ApplyToToolkit();
}

void ApplyToToolkit()
{
    std::unique_ptr<QTranslator>& current = ToolkitTranslator();
    if (current)
    {
        QCoreApplication::removeTranslator(current.get());
        current.reset();
    }
    const std::string name = AfxLanguage::Active();
    if (name != "en")
    {
        // Debian's package of the toolkit's translations; a language it
        // lacks leaves the toolkit's few texts in English.
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(QLocale(QString::fromStdString(name)), QStringLiteral("qtbase"),
                             QStringLiteral("_"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        {
            QCoreApplication::installTranslator(translator.get());
            current = std::move(translator);
        }
    }
    QGuiApplication::setLayoutDirection(RightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
}

bool RightToLeft()
{
    const std::string name = AfxLanguage::Active();
    return name != "en" && QLocale(QString::fromStdString(name)).textDirection() == Qt::RightToLeft;
}
} // namespace Language
