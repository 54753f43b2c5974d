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
    struct Row {
        const char* name;
        PromptButtons buttons;
        PromptIcon icon;
        QString press;
        QStringList captions;
        QMessageBox::Icon qtIcon;
        PromptAnswer answer;
    } rows[] = {
        {"OK only",
         PromptButtons::Ok,
         PromptIcon::Exclamation,
         "OK",
         {"OK"},
         QMessageBox::Warning,
         PromptAnswer::Ok},
        {"OK of OK/Cancel",
         PromptButtons::OkCancel,
         PromptIcon::Question,
         "OK",
         {"OK", "キャンセル"},
         QMessageBox::Question,
         PromptAnswer::Ok},
        {"Cancel",
         PromptButtons::OkCancel,
         PromptIcon::Information,
         "キャンセル",
         {"OK", "キャンセル"},
         QMessageBox::Information,
         PromptAnswer::Cancel},
        {"Yes",
         PromptButtons::YesNo,
         PromptIcon::Question,
         "はい(&Y)",
         {"はい(&Y)", "いいえ(&N)"},
         QMessageBox::Question,
         PromptAnswer::Yes},
        {"No",
         PromptButtons::YesNo,
         PromptIcon::Critical,
         "いいえ(&N)",
         {"はい(&Y)", "いいえ(&N)"},
         QMessageBox::Critical,
         PromptAnswer::No},
        {"Escape on Yes/No",
         PromptButtons::YesNo,
         PromptIcon::None,
         "",
         {"はい(&Y)", "いいえ(&N)"},
         QMessageBox::NoIcon,
         PromptAnswer::No},
        {"Escape on OK/Cancel",
         PromptButtons::OkCancel,
         PromptIcon::None,
         "",
         {"OK", "キャンセル"},
         QMessageBox::NoIcon,
         PromptAnswer::Cancel},
        {"Escape on OK",
         PromptButtons::Ok,
         PromptIcon::None,
         "",
         {"OK"},
         QMessageBox::NoIcon,
         PromptAnswer::Ok},
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
