// SPDX-License-Identifier: Apache-2.0
// Makes the desktop menu's icons from the program's own icon (IDR_MAINFRAME in
// res/), so that the menu, the window title and the About box show the same
// picture. Run by the build:
//   kelm-make-icons OUTPUT-DIR SIZE...
// writes OUTPUT-DIR/hicolor/<size>x<size>/apps/kelm-utilities.png for every
// size, and OUTPUT-DIR/hicolor/scalable/apps/kelm-utilities.svg.
#include "res/Icons.h"
#include "res/resource.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace
{
const char kIconName[] = "kelm-utilities";

bool Fail(const std::string& message)
{
    std::fprintf(stderr, "kelm-make-icons: %s\n", message.c_str());
    return false;
}

// The icon's images by size, each checked to be the size its resource claims.
bool LoadImages(std::map<int, QImage>& images)
{
    const ResIcon* icon = ResFindIcon(IDR_MAINFRAME);
    if (icon == nullptr || icon->imageCount == 0)
    {
        return Fail("the program has no main icon");
    }
    for (std::size_t i = 0; i < icon->imageCount; ++i)
    {
        const ResIconImage& image = icon->images[i];
        QImage loaded(image.xpm);
        if (loaded.isNull() || loaded.width() != image.size || loaded.height() != image.size)
        {
            return Fail("the main icon's " + std::to_string(image.size) +
                        "-pixel image does not read as one");
        }
        images[image.size] = loaded.convertToFormat(QImage::Format_ARGB32);
    }
    return true;
}

// An image drawn for the size is used as it is. Otherwise the largest image is
// enlarged pixel for pixel to the first whole multiple at least as big, which
// keeps its hard edges, and then averaged down to the size when that multiple
// overshoots it.
QImage ImageOfSize(const std::map<int, QImage>& images, int size)
{
    auto exact = images.find(size);
    if (exact != images.end())
    {
        return exact->second;
    }
    const QImage& largest = images.rbegin()->second;
    int factor = (size + largest.width() - 1) / largest.width();
    QImage enlarged = largest;
    if (factor > 1)
    {
        enlarged = largest.scaled(largest.width() * factor, largest.height() * factor,
                                  Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    if (enlarged.width() == size)
    {
        return enlarged;
    }
    return enlarged.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The largest image as squares of its pixels, one rectangle per run of equal
// colour in a row: it scales to any size with the same hard edges.
QByteArray SvgOf(const QImage& image)
{
    QByteArray svg;
    svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += QString("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" "
                   "viewBox=\"0 0 %1 %2\" shape-rendering=\"crispEdges\">\n")
               .arg(image.width())
               .arg(image.height())
               .toUtf8();
    for (int y = 0; y < image.height(); ++y)
    {
        int x = 0;
        while (x < image.width())
        {
            QRgb colour = image.pixel(x, y);
            int end = x + 1;
            while (end < image.width() && image.pixel(end, y) == colour)
            {
                ++end;
            }
            if (qAlpha(colour) != 0)
            {
                QString rect = QString("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"1\" "
                                       "fill=\"#%4\"")
                                   .arg(x)
                                   .arg(y)
                                   .arg(end - x)
                                   .arg(colour & 0xFFFFFFu, 6, 16, QChar('0'));
                if (qAlpha(colour) != 255)
                {
                    rect += QString(" fill-opacity=\"%1\"").arg(qAlpha(colour) / 255.0);
                }
                svg += rect.toUtf8() + "/>\n";
            }
            x = end;
        }
    }
    svg += "</svg>\n";
    return svg;
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush())
    {
        return Fail("cannot write " + path.toStdString());
    }
    return true;
}

bool MakeIcons(const QString& outputDir, const std::vector<int>& sizes)
{
    std::map<int, QImage> images;
    if (!LoadImages(images))
    {
        return false;
    }
    for (int size : sizes)
    {
        QString dir = QString("%1/hicolor/%2x%2/apps").arg(outputDir).arg(size);
        if (!QDir().mkpath(dir))
        {
            return Fail("cannot make " + dir.toStdString());
        }
        QImage image = ImageOfSize(images, size);
        QString path = dir + "/" + kIconName + ".png";
        if (image.width() != size || image.height() != size || !image.save(path, "PNG"))
        {
            return Fail("cannot write " + path.toStdString());
        }
    }
    QString dir = outputDir + "/hicolor/scalable/apps";
    if (!QDir().mkpath(dir))
    {
        return Fail("cannot make " + dir.toStdString());
    }
    return WriteFile(dir + "/" + kIconName + ".svg", SvgOf(images.rbegin()->second));
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 3)
    {
        std::fputs("usage: kelm-make-icons OUTPUT-DIR SIZE...\n", stderr);
        return 2;
    }
    std::vector<int> sizes;
    for (int i = 2; i < argc; ++i)
    {
        char* end = nullptr;
        long size = std::strtol(argv[i], &end, 10);
        if (end == argv[i] || *end != '\0' || size < 1 || size > 1024)
        {
            std::fprintf(stderr, "kelm-make-icons: not an icon size: %s\n", argv[i]);
            return 2;
        }
        sizes.push_back(static_cast<int>(size));
    }
    return MakeIcons(QString::fromLocal8Bit(argv[1]), sizes) ? 0 : 1;
}
