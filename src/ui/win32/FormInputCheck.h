#pragma once

#include "platform/NumberInput.h"
#include "records/InputCheck.h"

#include <optional>
#include <string>
#include <windows.h>

namespace kesmaro {

class Prompter;

// The control ids of the numeric input dialog, for the tests.
enum FormInputCheckId : int {
    IdInputLblMsg = 10,
    IdInputLblMin,
    IdInputLblMinV,
    IdInputLblMax,
    IdInputLblMaxV,
    IdInputTxtInput,
    IdInputCmdDec,
    IdInputCmdInc,
    IdInputCmdEnter,
    IdInputCmdCancel,
};

// The bounded numeric input dialog: one window for every call, modal while it asks, its
// messages through the program's prompter. Its modal loop dispatches every message of the
// thread, so the main window's timers keep running.
class FormInputCheck : public NumberInput {
public:
    explicit FormInputCheck(Prompter& prompter);
    ~FormInputCheck() override;
    FormInputCheck(const FormInputCheck&) = delete;
    FormInputCheck& operator=(const FormInputCheck&) = delete;

    std::optional<double> Ask(const NumberRequest& request) override;

    HWND hwnd() const { return m_window; }
    bool isOpen() const { return m_open; }

    // The design caption before the first call and after a close; the caller's title while
    // open; empty after a confirm or a cancel.
    static std::string DesignCaption();

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK InputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool filter(MSG& message);
    void build();
    void placeOverOwner();

    bool charactersValid();
    void cmdDec_Click();
    void cmdInc_Click();
    void cmdEnter_Click();
    void cmdCancel_Click();
    void closeControl();
    void tell(const char* title, const char* text);
    void finish(std::optional<double> value, const std::string& caption);

    Prompter& m_prompter;
    HWND m_window = nullptr;
    int m_dpi = 96;
    InputCheck m_check{{}, {}, {}};
    std::optional<double> m_value;
    bool m_open = false;
    HWND m_lblmsg = nullptr;
    HWND m_lblminV = nullptr;
    HWND m_lblmaxv = nullptr;
    HWND m_txtInput = nullptr;
    HWND m_cmdEnter = nullptr;
};

} // namespace kesmaro
