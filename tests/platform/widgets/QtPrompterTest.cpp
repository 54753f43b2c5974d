#include "platform/qt/QtPrompter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kesmaro;

namespace {

struct Seen {
    QString title, text;
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

} // namespace

class QtPrompterTest : public ::testing::Test {
protected:
    // Runs one box and reports what it showed.
    PromptAnswer ask(const Prompt& prompt, const QString& press, Seen& seen)
    {
        auto state = std::make_shared<Seen>();
        std::function<void()> poll;
        poll = [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                QTimer::singleShot(5, poll);
                return;
            }
            state->title = box->windowTitle();
            state->text = box->text();
            state->icon = box->icon();
            for (QAbstractButton* button : box->buttons())
                state->buttons << button->text();
            if (press.isEmpty()) {
                QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(box, &escape);
                return;
            }
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == press) {
                    button->click();
                    return;
                }
            }
            box->reject();
        };
        QTimer::singleShot(0, poll);
        const PromptAnswer answer = prompter.Ask(prompt);
        seen = *state;
        return answer;
    }

    QtPrompter prompter;
};

TEST_F(QtPrompterTest, ShowsTheExactTitleTextAndButtons)
{
    using A = PromptAnswer;
    using B = PromptButtons;
    using I = PromptIcon;
    using Q = QMessageBox;
    const QString cancel = QStringLiteral("キャンセル");
    const QString yes = QStringLiteral("はい(&Y)");
    const QString no = QStringLiteral("いいえ(&N)");
    const QStringList ok{"OK"}, okCancel{"OK", cancel}, yesNo{yes, no};
    struct Row {
        const char* name;
        PromptButtons buttons;
        PromptIcon icon;
        QString press;
        QStringList captions;
        QMessageBox::Icon qtIcon;
        PromptAnswer answer;
    } rows[] = {
        {"OK only", B::Ok, I::Exclamation, "OK", ok, Q::Warning, A::Ok},
        {"OK of OK/Cancel", B::OkCancel, I::Question, "OK", okCancel, Q::Question, A::Ok},
        {"Cancel", B::OkCancel, I::Information, cancel, okCancel, Q::Information, A::Cancel},
        {"Yes", B::YesNo, I::Question, yes, yesNo, Q::Question, A::Yes},
        {"No", B::YesNo, I::Critical, no, yesNo, Q::Critical, A::No},
        {"Escape on Yes/No", B::YesNo, I::None, "", yesNo, Q::NoIcon, A::No},
        {"Escape on OK/Cancel", B::OkCancel, I::None, "", okCancel, Q::NoIcon, A::Cancel},
        {"Escape on OK", B::Ok, I::None, "", ok, Q::NoIcon, A::Ok},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Seen seen;
        const PromptAnswer answer =
            ask({"実行エラー", "ReadMe.txtファイルが見つかりません。", row.buttons, row.icon},
                row.press, seen);
        EXPECT_EQ(answer, row.answer);
        EXPECT_EQ(seen.title, QStringLiteral("実行エラー"));
        EXPECT_EQ(seen.text, QStringLiteral("ReadMe.txtファイルが見つかりません。"));
        EXPECT_EQ(seen.buttons, row.captions);
        EXPECT_EQ(seen.icon, row.qtIcon);
    }
}

TEST_F(QtPrompterTest, TextIsPlainWithItsLineBreaks)
{
    Seen seen;
    ask({"t", "<b>1行目</b>\r\n2行目", PromptButtons::Ok, PromptIcon::None}, "OK", seen);
    EXPECT_EQ(seen.text, QStringLiteral("<b>1行目</b>\n2行目"));
}
