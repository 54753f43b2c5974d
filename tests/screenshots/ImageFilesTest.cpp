#include "screenshots/ImageFiles.h"

#include "ProgramFixture.h"
#include "common/TextFile.h"
#include "platform/qt/Pictures.h"
#include "platform/sim/SimServices.h"
#include "records/RecordFile.h"
#include "state/Program.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kesmaro;
using namespace std::chrono;

namespace {

PixelBuffer gradient(int w, int h)
{
    PixelBuffer p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* px = p.pixel(x, y);
            px[0] = static_cast<std::uint8_t>(x * 7);
            px[1] = static_cast<std::uint8_t>(y * 5);
            px[2] = static_cast<std::uint8_t>((x + y) * 3);
            px[3] = 0; // ignored
        }
    return p;
}

QByteArray jpegBytes(const PixelBuffer& p, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.write(ToQImage(p));
    return bytes;
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One game window in front: its whole-window picture is a gradient of its outer size.
class FrontWindow : public NullGameWindows {
public:
    WindowId ForegroundWindow() override { return present ? 7 : kNoWindow; }
    Rect WindowRect(WindowId w) override { return w == 7 ? Rect{100, 50, 64, 48} : Rect{}; }
    PixelBuffer GrabPicture(WindowId w, PictureArea, const Rect& r) override
    {
        return w == 7 ? gradient(r.width, r.height) : PixelBuffer(r.width, r.height);
    }
    bool present = true;
};

// Built before the program, which keeps a reference to it.
struct FrontWindowHolder {
    FrontWindow m_windows;
};

class ScreenshotTest : protected FrontWindowHolder, public test::ProgramFixture {
protected:
    ScreenshotTest()
        : ProgramFixture({.start = test::At(2009, 5, 17, 21, 30, 35), .gameWindows = &m_windows})
    {
        p.settings.SaveFolder = dir.filePath("records/new");
        p.settings.SaveFormat = ".jpg90";
        p.settings.BeepMode = 3;
    }
    QString ss(const QString& name) const
    {
        return dir.filePath("records/new/ss/" + name);
    }
};

} // namespace

TEST(ImageFilesTest, FormatsPickExtensionEncoderAndQuality)
{
    QTemporaryDir dir;
    const PixelBuffer p = gradient(40, 30);
    const QString base = dir.filePath("shot");
    EXPECT_EQ(SavePicture(p, base, ".jpg90"), ImageOk);
    EXPECT_EQ(fileBytes(base + ".jpg"), jpegBytes(p, 90));
    EXPECT_EQ(SavePicture(p, base, ".jpg70"), ImageOk);
    EXPECT_EQ(fileBytes(base + ".jpg"), jpegBytes(p, 70));
    EXPECT_NE(jpegBytes(p, 90), jpegBytes(p, 70));

    EXPECT_EQ(SavePicture(p, base, ".png"), ImageOk);
    QImage png(base + ".png");
    ASSERT_EQ(png.size(), QSize(40, 30));
    EXPECT_EQ(png.pixel(3, 4), ToQImage(p).pixel(3, 4));
    EXPECT_EQ(png.pixel(3, 4), qRgb(21, 20, 21));

    EXPECT_EQ(SavePicture(p, base, ".bmp"), ImageOk);
    EXPECT_EQ(QImageReader(base + ".bmp").format(), QByteArray("bmp"));

    EXPECT_EQ(SavePicture(p, dir.filePath("other"), ".gif"),
              ImageOk);
    EXPECT_FALSE(QFile::exists(dir.filePath("other.gif")));
}

TEST(ImageFilesTest, JpegQualityIsClampedAndMissingPicturesAreStatus13)
{
    QTemporaryDir dir;
    const PixelBuffer p = gradient(40, 30);
    const QString path = dir.filePath("q.jpg");
    EXPECT_EQ(SaveJpeg(&p, path, 10), ImageOk);
    EXPECT_EQ(fileBytes(path), jpegBytes(p, 25));
    EXPECT_EQ(SaveJpeg(&p, path, 150), ImageOk);
    EXPECT_EQ(fileBytes(path), jpegBytes(p, 100));
    EXPECT_EQ(SavePng(nullptr, path), ImageNoPicture);
    const PixelBuffer empty;
    EXPECT_EQ(SaveJpeg(&empty, path, 90), ImageNoPicture);
    EXPECT_EQ(SavePng(&p, dir.filePath("missing/dir/x.png")), ImageWriteError);
}

TEST_F(ScreenshotTest, AFailingSaveIsReportedOnceUntilOneSucceeds)
{
    QFile blocker(dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    p.settings.SaveFolder = blocker.fileName(); // a file: no folder can go under it
    EXPECT_FALSE(
        SaveScreenshot(p, ScreenshotFolder(p) + "a", ".png"));
    EXPECT_FALSE(
        SaveScreenshot(p, ScreenshotFolder(p) + "b", ".png"));
    EXPECT_EQ(p.txtLog.text().count("スクリーンショットを保存できませんでした"), 1);
    p.settings.SaveFolder = dir.path();
    EXPECT_TRUE(
        SaveScreenshot(p, ScreenshotFolder(p) + "c", ".png"));
    m_windows.present = false; // nothing in front: nothing to save, and that is reported again
    EXPECT_FALSE(
        SaveScreenshot(p, ScreenshotFolder(p) + "d", ".png"));
    EXPECT_EQ(p.txtLog.text().count("スクリーンショットを保存できませんでした"), 2);
}

// A cleared folder box: records and screenshots both land in the program folder, whatever the
// working folder is.
TEST_F(ScreenshotTest, AnEmptySaveFolderKeepsScreenshotsBesideTheRecords)
{
    p.settings.SaveFolder.clear();
    const QString shots = ScreenshotFolder(p);
    EXPECT_TRUE(QDir(shots).exists());
    EXPECT_EQ(QDir(shots).canonicalPath(),
              QDir(dir.filePath("ss")).canonicalPath());
    const RecordTarget records =
        RecordFileTarget(p.settings, "202405011000", p.programFolder.toStdString());
    EXPECT_EQ(QDir::cleanPath(records.folder),
              QDir::cleanPath(dir.filePath("log")));
}

TEST_F(ScreenshotTest, ClosingDuringTheWaitSavesNothing)
{
    sim.scheduler.at(5000, [&] { p.flags.ProgramClosing = true; });
    menuPrtScr_Click(p);
    EXPECT_FALSE(QFile::exists(ss(QString())));
    EXPECT_TRUE(p.txtLog.text().isEmpty());
}
