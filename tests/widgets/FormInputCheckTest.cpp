#include "ui/qt/FormInputCheck.h"

#include "platform/sim/SimPrompter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

using namespace kesmaro;
using namespace Qt::StringLiterals;

namespace {

TEST(InputCheckTest, BoundsComeInEitherOrderAndTheStepWithoutItsSign)
{
    const InputCheck check("2048", "-2048", "-8");
    EXPECT_EQ(check.minValue(), -2048);
    EXPECT_EQ(check.maxValue(), 2048);
    EXPECT_EQ(check.step(), 8);
    EXPECT_EQ(InputCheck::NumberText(-2048), "-2048");
    EXPECT_EQ(InputCheck::NumberText(1440), "1440");
    EXPECT_EQ(InputCheck::NumberText(0.5), "0.5");
    EXPECT_EQ(InputCheck::NumberText(-0.0), "0");
}

TEST(InputCheckTest, StepsStopAtTheBoundTheyMoveTowards)
{
    const InputCheck check("100", "2000", "100");
    EXPECT_EQ(check.Dec("150"), "100");
    EXPECT_EQ(check.Dec("100"), "100");
    EXPECT_EQ(check.Inc("1950"), "2000");
    EXPECT_EQ(check.Inc("50"), "150") << "no test against the other bound";
    // A number beyond a double's range stands for its bound.
    EXPECT_EQ(check.Dec("1E400"), "2000");
    EXPECT_EQ(check.Inc("-1E400"), "100");
}

TEST(InputCheckTest, ConfirmReadsTheTextAndChecksBothBounds)
{
    const InputCheck check("1", "1440", "5");
    const struct {
        const char* text;
        InputCheck::Verdict verdict;
        double value;
    } rows[] = {
        {"0", InputCheck::Verdict::BelowMinimum, 0},
        {"1441", InputCheck::Verdict::AboveMaximum, 0},
        {"1 5", InputCheck::Verdict::Confirmed, 15},
        {"7.5", InputCheck::Verdict::Confirmed, 7.5},
        {"1.2e2", InputCheck::Verdict::Confirmed, 120},
        {"1E400", InputCheck::Verdict::AboveMaximum, 0},
        {"-1E400", InputCheck::Verdict::BelowMinimum, 0},
        {"12a", InputCheck::Verdict::InvalidCharacters, 0},
        {"-", InputCheck::Verdict::BelowMinimum, 0},         // a lone minus reads 0
        {"１２", InputCheck::Verdict::InvalidCharacters, 0}, // full-width digits are no digits
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        double value = -1;
        EXPECT_EQ(check.Confirm(row.text, &value), row.verdict);
        if (row.verdict == InputCheck::Verdict::Confirmed) {
            EXPECT_EQ(value, row.value);
        }
    }
    double value = -1;
    EXPECT_EQ(InputCheck("-5", "5", "1").Confirm("-", &value), InputCheck::Verdict::Confirmed);
    EXPECT_EQ(value, 0);
}

class FormInputCheckTest : public ::testing::Test {
protected:
    // Runs `script` once the dialog is open, then returns what the dialog answered.
    std::optional<double> ask(const NumberRequest& request, const std::function<void()>& script)
    {
        QTimer::singleShot(0, &dialog, [&] {
            captionWhileOpen = dialog.windowTitle();
            script();
        });
        return dialog.Ask(request);
    }
    template <class T = QWidget> T* w(const QString& name)
    {
        T* found = dialog.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    void typeKey(int key, const QString& text = {})
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(w<QLineEdit>(u"txtInput"_s), &press);
    }
    void click(const char* name) { w<QPushButton>(QLatin1String(name))->click(); }
    QStringList messages() const
    {
        QStringList texts;
        for (const SimPrompter::Asked& a : prompter.asked())
            texts << QString::fromStdString(a.prompt.text);
        return texts;
    }

    SimPrompter prompter;
    FormInputCheck dialog{prompter};
    QString captionWhileOpen;
    const NumberRequest interval{"1",         "1440", 6, "5", "キャプチャー周期を入力してください",
                                 "設定値入力"};
};

TEST_F(FormInputCheckTest, ShowsTheRequestAndConfirmsATypedNumber)
{
    EXPECT_EQ(dialog.windowTitle(), u"パラメータ入力"_s);
    const std::optional<double> answer = ask({"2048", "-2048", 0, "8", "guide", "設定値入力"}, [&] {
        EXPECT_EQ(w<QLabel>(u"lblminV"_s)->text(), u"-2048"_s);
        EXPECT_EQ(w<QLabel>(u"lblmaxv"_s)->text(), u"2048"_s);
        EXPECT_EQ(w<QLabel>(u"lblmsg"_s)->text(), u"guide"_s);
        EXPECT_EQ(w<QLineEdit>(u"txtInput"_s)->selectedText(), u"0"_s);
        w<QLineEdit>(u"txtInput"_s)->setText(u"1 5"_s);
        click("cmdEnter");
    });
    EXPECT_EQ(answer, 15.0);
    EXPECT_EQ(captionWhileOpen, u"設定値入力"_s);
    EXPECT_EQ(dialog.windowTitle(), QString()) << "cleared after a confirm";
}

TEST_F(FormInputCheckTest, BoundMessagesKeepTheDialogOpen)
{
    const std::optional<double> answer = ask(interval, [&] {
        auto* input = w<QLineEdit>(u"txtInput"_s);
        for (const QString& text : {u"0"_s, u"1441"_s, u"1E400"_s}) {
            input->setText(text);
            click("cmdEnter");
            EXPECT_TRUE(dialog.isVisible()) << text.toStdString();
            EXPECT_EQ(input->text(), text);
        }
        input->setText(u"12a"_s); // pasted
        click("cmdEnter");
        click("cmdInc");
        EXPECT_EQ(input->text(), u"12a"_s);
        input->setText(u"1440"_s);
        click("cmdEnter");
    });
    EXPECT_EQ(answer, 1440.0);
    EXPECT_EQ(messages(), (QStringList{u"入力下限を超えています"_s, u"入力上限を超えています"_s,
                                       u"入力上限を超えています"_s, u"無効文字が含まれています。"_s,
                                       u"無効文字が含まれています。"_s}));
}

TEST_F(FormInputCheckTest, KeysAreFilteredAndEnterOnlyMovesTheFocus)
{
    const std::optional<double> answer = ask(interval, [&] {
        auto* input = w<QLineEdit>(u"txtInput"_s);
        input->clear();
        typeKey(Qt::Key_1, u"1"_s);
        typeKey(Qt::Key_A, u"a"_s);
        typeKey(Qt::Key_Space, u" "_s);
        typeKey(Qt::Key_2, u"2"_s);
        EXPECT_EQ(input->text(), u"12"_s);
        typeKey(Qt::Key_Return, u"\r"_s);
        EXPECT_TRUE(dialog.isVisible()) << "Enter does not confirm";
        EXPECT_TRUE(w<QPushButton>(u"cmdEnter"_s)->hasFocus() || !dialog.isActiveWindow());
        click("cmdDec");
        EXPECT_EQ(input->text(), u"7"_s);
        click("cmdEnter");
    });
    EXPECT_EQ(answer, 7.0);
}

// Enter, Enter: the first moves to 決 定, the second confirms there.
TEST_F(FormInputCheckTest, ASecondEnterOnTheFocusedButtonConfirms)
{
    const std::optional<double> answer = ask(interval, [&] {
        auto* input = w<QLineEdit>(u"txtInput"_s);
        input->setText(u"42"_s);
        typeKey(Qt::Key_Return, u"\r"_s);
        ASSERT_TRUE(dialog.isVisible());
        auto* enter = w<QPushButton>(u"cmdEnter"_s);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, u"\r"_s);
        QApplication::sendEvent(enter, &press);
    });
    EXPECT_EQ(answer, 42.0);
}

TEST_F(FormInputCheckTest, CancelAndTheCloseControlBothCancel)
{
    EXPECT_EQ(ask(interval, [&] { click("cmdCancel"); }), std::nullopt);
    EXPECT_EQ(dialog.windowTitle(), QString());
    EXPECT_EQ(ask(interval, [&] { dialog.close(); }), std::nullopt);
    EXPECT_EQ(dialog.windowTitle(), u"パラメータ入力"_s);
    // 19999 within bounds that hold it is an answer like any other.
    EXPECT_EQ(ask({"2", "32000", 10, "1", "", ""},
                  [&] {
                      w<QLineEdit>(u"txtInput"_s)->setText(u"19999"_s);
                      click("cmdEnter");
                  }),
              19999.0);
    EXPECT_EQ(captionWhileOpen, u"パラメータ入力"_s) << "no title: the design caption";
}

} // namespace
