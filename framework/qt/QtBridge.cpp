// SPDX-License-Identifier: Apache-2.0
#include "framework/qt/QtBridge.h"

#include "framework/core/AfxLanguage.h"
#include "framework/core/AfxResources.h"
#include "framework/core/TextCodec.h"
#include "framework/qt/Accessibility.h"
#include "framework/qt/MessageDispatcher.h"

#include <QApplication>
#include <QPixmap>

#include <map>
#include <memory>
#include <mutex>

struct HICON__
{
    const ResIcon* resource = nullptr;
    QIcon icon;
    bool built = false;
};

void QtBridge::EnsureApplication()
{
    if (QCoreApplication::instance() == nullptr)
    {
        // The instance must outlive every window and is never deleted: it
        // lives until the process ends, as the program's own would.
        static int argc = 1;
        static char name[] = "kelm-utilities";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
    MessageDispatcher::Install();
    Accessibility::Install();
}

QString QtBridge::ToQt(const std::string& narrow)
{
    return QString::fromStdString(AfxLanguage::UiToUtf8(narrow));
}

std::string QtBridge::FromQt(const QString& text)
{
    return AfxLanguage::Utf8ToUi(text.toStdString());
}

QString QtBridge::ToQtData(const std::string& narrow)
{
    return QString::fromStdString(TextCodec::NarrowToUtf8(narrow));
}

std::string QtBridge::FromQtData(const QString& text)
{
    return TextCodec::Utf8ToNarrow(text.toStdString());
}

QChar QtBridge::MnemonicOf(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i)
    {
        if (text[i] == QLatin1Char('&'))
        {
            if (text[i + 1] != QLatin1Char('&'))
            {
                return text[i + 1].toLower();
            }
            ++i;
        }
    }
    return {};
}

QIcon QtBridge::IconOf(HICON icon)
{
    if (icon == nullptr)
    {
        return {};
    }
    if (!icon->built)
    {
        icon->built = true;
        for (std::size_t i = 0; i < icon->resource->imageCount; ++i)
        {
            icon->icon.addPixmap(QPixmap(icon->resource->images[i].xpm));
        }
    }
    return icon->icon;
}

HICON QtBridge::LoadIconResource(unsigned id)
{
    // Icons are shared and live as long as the process, so a handle stays
    // valid whoever loaded it.
    static std::mutex mutex;
    static std::map<unsigned, std::unique_ptr<HICON__>> loaded;
    std::lock_guard<std::mutex> lock(mutex);
    auto it = loaded.find(id);
    if (it != loaded.end())
    {
        return it->second.get();
    }
    const ResIcon* resource = AfxFindIcon(id);
    if (resource == nullptr)
    {
        return nullptr;
    }
    auto icon = std::make_unique<HICON__>();
    icon->resource = resource;
    HICON handle = icon.get();
    loaded.emplace(id, std::move(icon));
    return handle;
}
