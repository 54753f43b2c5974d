#include "ui/qt/FormVersion.h"

#include "FormsFixture.h"
#include "records/Documents.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>

using namespace kesmaro;
using namespace Qt::StringLiterals;

namespace {

class FormVersionTest : public FormsTest {};

TEST_F(FormVersionTest, ShowsTheProgramAndOpensTheSiteOnEverySecondClick)
{
    // A build without a support site links to the quick-start document beside the program.
    QFile quickStart(QDir(QString::fromStdString(p.documentFolder))
                         .filePath(QString::fromStdString(std::string(kQuickReferenceDocument))));
    ASSERT_TRUE(quickStart.open(QIODevice::WriteOnly));
    quickStart.close();
    FormVersion window(p);
    EXPECT_EQ(window.windowTitle(), u"バージョン情報"_s);
    EXPECT_EQ(window.findChild<QLabel*>(u"lblName"_s)->text(), u"Kesmaro  for  Dragonica"_s);
    EXPECT_EQ(window.findChild<QLabel*>(u"lblVer"_s)->text(),
              QString::fromStdString(kProgramVersion));
    EXPECT_EQ(window.findChild<QLabel*>(u"Label1"_s)->text(), u"Support Site"_s);
    auto* link = window.findChild<QLabel*>(u"lblHomePage"_s);
    ASSERT_NE(link, nullptr);
    const auto click = [&] {
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(link, &release);
    };
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    click();
    EXPECT_TRUE(sim.shell.requests.empty()) << "the first click only arms the link";
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor) << "armed, still a link";
    click();
    ASSERT_EQ(sim.shell.requests.size(), 1u);
    const QString expected =
        SupportLink::SiteAddress().empty()
            ? QDir(QString::fromStdString(p.documentFolder))
                  .filePath(QString::fromStdString(std::string(kQuickReferenceDocument)))
            : QString::fromStdString(SupportLink::SiteAddress());
    EXPECT_EQ(QString::fromStdString(sim.shell.requests[0].target), expected);
    EXPECT_EQ(link->toolTip(), expected);
    EXPECT_EQ(link->cursor().shape(), Qt::ArrowCursor) << "opened: the default pointer";
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(link, &enter);
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor) << "back over the idle link";
    click();
    EXPECT_EQ(sim.shell.requests.size(), 1u);
    click();
    EXPECT_EQ(sim.shell.requests.size(), 2u);
}

} // namespace
