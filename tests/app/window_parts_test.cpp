// The window's small parts: counts as shown, the folder of a chosen path, and the embedded pictures.
#include "app/count_text.h"
#include "app/folder_part.h"
#include "app/jpeg_image.h"
#include "app/user_guide.h"
#include "app/window_images.h"
#include "support/temp_folder.h"
#include "widgets/qstring_print.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

#include <cstdlib>

namespace kalvian {
namespace {

TEST(CountText, GroupsByThreesAndShowsZeroAsABlank) {
    const struct {
        std::int64_t count;
        const char* separator;
        const char* shown;
    } cases[] = {
        {0, ".", " "},
        {1, ".", "1"},
        {999, ".", "999"},
        {1000, ".", "1.000"},
        {1234, ".", "1.234"},
        {123456, ".", "123.456"},
        {1234567, ".", "1.234.567"},
        {1234567, ",", "1,234,567"},
        {12345, "\u00A0", "12\u00A0345"},
        {9223372036854775807, ".", "9.223.372.036.854.775.807"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatCount(c.count, QString::fromUtf8(c.separator)), QString::fromUtf8(c.shown))
            << c.count;
    }
}

TEST(FolderPart, UpToTheLastSeparatorOrNothing) {
    const struct {
        const char* path;
        const char* folder;
    } cases[] = {
        {"/dados/vrk3/DSEMI.db", "/dados/vrk3/"},
        {"/DSEMI.db", "/"},
        {"DSEMI.db", ""},
        {"", ""},
        {"/dados/", "/dados/"},
        {"rel/a b/x.txt", "rel/a b/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(folderPart(QString::fromUtf8(c.path)), QString::fromUtf8(c.folder)) << c.path;
    }
}

TEST(UserGuideFile, BesideTheProgramElseAmongTheSystemsDocumentation) {
    const test::TempFolder root;
    const QDir installed(QString::fromStdString(root.path().string()));
    ASSERT_TRUE(installed.mkpath(QStringLiteral("bin")) &&
                installed.mkpath(QStringLiteral("share/doc/kalvian")));
    const QString program = installed.filePath(QStringLiteral("bin"));
    const QString beside = installed.filePath(QStringLiteral("bin/guia-do-usuario.html"));
    const QString documentation =
        installed.filePath(QStringLiteral("share/doc/kalvian/guia-do-usuario.html"));
    // None there: the place beside the program is the one named.
    EXPECT_EQ(userGuideFile(program), beside);
    QFile(documentation).open(QIODevice::WriteOnly);
    EXPECT_EQ(userGuideFile(program), documentation);
    QFile(beside).open(QIODevice::WriteOnly);
    EXPECT_EQ(userGuideFile(program), beside);
}

QByteArray embeddedBytes(const char* name) {
    QFile file(QStringLiteral(":/kalvian/images/") + QString::fromLatin1(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

// JPEG decoders may round differently; a picture read by both must agree to a few steps per channel.
int largestChannelDifference(const QImage& a, const QImage& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y);
            const QColor q = b.pixelColor(x, y);
            largest = std::max({largest, std::abs(p.red() - q.red()), std::abs(p.green() - q.green()),
                                std::abs(p.blue() - q.blue())});
        }
    }
    return largest;
}

TEST(WindowImages, BothDecodeThroughLibjpegAndThroughQtsPlugin) {
    const struct {
        const char* name;
        QImage (*decoded)();
        QSize size;
    } cases[] = {
        {"banner.jpg", bannerImage, {246, 80}},
        {"logo.jpg", logoImage, {92, 25}},
    };
    for (const auto& c : cases) {
        const QImage ours = c.decoded();
        ASSERT_FALSE(ours.isNull()) << c.name;
        EXPECT_EQ(ours.size(), c.size) << c.name;
        // Not one flat colour: something is drawn on it.
        QImage flat(ours.size(), QImage::Format_RGB888);
        flat.fill(ours.pixelColor(0, 0));
        EXPECT_GT(largestChannelDifference(ours, flat), 64) << c.name;
        // A static Qt (Windows) links no picture plugin, whose libjpeg would clash with the window's.
        if (QImageReader::supportedImageFormats().contains("jpeg")) {
            QImage plugin;
            ASSERT_TRUE(plugin.loadFromData(embeddedBytes(c.name), "JPEG")) << c.name;
            EXPECT_EQ(plugin.size(), c.size) << c.name;
            EXPECT_LE(largestChannelDifference(ours, plugin.convertToFormat(QImage::Format_RGB888)), 4)
                << c.name;
        }
    }
}

QByteArray pngBytes() {
    QImage image(8, 8, QImage::Format_RGB888);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

TEST(WindowImages, BytesThatAreNoJpegGiveANullImage) {
    const QByteArray banner = embeddedBytes("banner.jpg");
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"vazio", QByteArray()},
        {"texto", QByteArray("not a picture")},
        {"so-o-inicio", banner.left(2)},
        {"png", pngBytes()},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(decodeJpeg(c.bytes).isNull()) << c.name;
    }
}

} // namespace
} // namespace kalvian
