// The simulated desktop stands in for Windows and Outlook Express in every
// scenario test. These tests pin down the few behaviours of theirs that the
// program's own fixes depend on; the scenario tests exercise the rest.
#include "sim/SimDesktop.h"

#include <gtest/gtest.h>

#include "sim/OeTestHost.h"
#include "sim/SimHtmlText.h"
#include "support/GoldenCase.h"
#include "ui/ResourceIds.h"

namespace nimbrel {
namespace {

// What OE's editor gives as the body text of an HTML body.
TEST(SimHtmlText, RendersHtmlAsOesEditorGivesItsText) {
    for (const std::vector<String>& c : LoadTable("sim_render_text"))
        EXPECT_EQ(sim::RenderText(c.at(0)), c.at(1)) << Utf8(c[0]);
}

class SimOeTest : public ::testing::Test {
  protected:
    SimOeTest() : oe(desktop) { oe.Start(); }
    ~SimOeTest() override { EXPECT_TRUE(desktop.faults.Empty()) << desktop.faults.List().front(); }

    void Press(std::uint8_t key, bool ctrl = false) {
        Keyboard& keyboard = desktop.platform().keyboard;
        if (ctrl) keyboard.keybd_event(vk::kControl, 0x1D, 0, 0);
        keyboard.keybd_event(key, 0, 0, 0);
        if (ctrl) keyboard.keybd_event(vk::kControl, 0x1D, keyevent::kKeyUp, 0);
        keyboard.keybd_event(key, 0, keyevent::kKeyUp, 0);
    }

    SimDesktop desktop;
    OeTestHost oe;
};

// Keys go to the window in front, which the program changes only as Windows
// lets a program in the background (focus calls need attached input; the
// foreground lock), and a copy fails while someone else holds the clipboard
// open.
TEST_F(SimOeTest, KeysGoToTheForegroundWindowWhichTheProgramGetsOnlyAsWindowsLetsIt) {
    const OeNote first = oe.OpenReply(u"first");
    const OeNote second = oe.OpenReply(u"second");
    ASSERT_EQ(desktop.windows.Foreground(), second.note);
    WindowSystem& windows = desktop.platform().windows;
    const auto lastCallWorked = [&] { return desktop.windows.FocusCalls().back().succeeded; };
    // OE has the user's input.
    windows.SetFocus(first.note);
    EXPECT_FALSE(lastCallWorked());
    windows.SetActiveWindow(first.note);
    EXPECT_FALSE(lastCallWorked());
    EXPECT_FALSE(windows.SetForegroundWindow(first.note));
    EXPECT_TRUE(windows.SetForegroundWindow(second.note));  // in front already
    // Attached to OE's thread, which has the foreground, the program gets
    // both; not so while another program's window is in front.
    const std::uint32_t program = desktop.platform().system.GetCurrentThreadId();
    const std::uint32_t oeThread = windows.GetWindowThreadProcessId(first.note, nullptr);
    ASSERT_TRUE(windows.AttachThreadInput(program, oeThread, true));
    windows.SetFocus(first.note);
    EXPECT_TRUE(lastCallWorked());
    const WindowHandle other = desktop.windows.Create(u"Other", u"", kNoWindow, kOtherProcess);
    desktop.windows.Activate(other);
    EXPECT_FALSE(windows.SetForegroundWindow(first.note));
    desktop.windows.Destroy(other);
    desktop.windows.Activate(second.note);
    EXPECT_TRUE(windows.SetForegroundWindow(first.note));
    EXPECT_EQ(windows.GetForegroundWindow(), first.note);
    ASSERT_TRUE(windows.AttachThreadInput(program, oeThread, false));
    Press(vk::kA, true);
    Press(vk::kC, true);
    EXPECT_EQ(desktop.clipboard.Text(), u"first");

    ASSERT_TRUE(desktop.clipboard.HoldOpen(kProgramProcess));
    Press(vk::kEnd, true);
    Press(vk::kSpace);
    Press(vk::kA, true);
    Press(vk::kC, true);
    desktop.clipboard.Close(kProgramProcess);
    EXPECT_EQ(desktop.clipboard.Text(), u"first");  // the copy failed
    EXPECT_EQ(oe.BodyText(first.note), u"first ");
}

// Note windows: found by class in any case, newest first, titled late, and
// an enumeration continued from a closed window ends.
TEST_F(SimOeTest, NoteWindowsAreFoundByClassAndGetTheirTitleLate) {
    OeNoteOptions options;
    options.titleDelay = 200;
    const OeNote reply = oe.OpenReply(u"x", options);
    WindowSystem& windows = desktop.platform().windows;
    char16_t title[128];
    EXPECT_EQ(windows.GetWindowTextW(reply.note, title, 128), 0);
    desktop.Wait(200);
    EXPECT_EQ(windows.GetWindowTextW(reply.note, title, 128), 8);
    oe.TypeSubject(reply.note, String(200, u's'));
    EXPECT_EQ(windows.GetWindowTextW(reply.note, title, 128), 127);
    EXPECT_EQ(title[127], u'\0');

    const OeNote message = oe.OpenMessage(u"y");
    EXPECT_EQ(windows.FindWindowExW(kNoWindow, kNoWindow, u"ATH_NOTE", nullptr), message.note);
    EXPECT_EQ(windows.FindWindowExW(kNoWindow, message.note, u"ath_note", nullptr), reply.note);
    EXPECT_EQ(windows.FindWindowExW(kNoWindow, reply.note, u"ATH_NOTE", nullptr), kNoWindow);
    oe.Close(message.note);
    EXPECT_EQ(windows.FindWindowExW(kNoWindow, message.note, u"ATH_NOTE", nullptr), kNoWindow);
}

TEST_F(SimOeTest, AHungWindowKeepsASenderWithoutAbortWaitingForTheWholeTimeout) {
    const OeNote message = oe.OpenMessage(u"x");
    desktop.windows.Get(message.documentWindow)->hung = true;
    WindowSystem& windows = desktop.platform().windows;
    const std::uint32_t getObject = windows.RegisterWindowMessageW(u"WM_HTML_GETOBJECT");
    std::uintptr_t result = 7;
    EXPECT_EQ(windows.SendMessageTimeoutW(message.documentWindow, getObject, 0, 0, smto::kNormal,
                                          1000, &result),
              0);
    EXPECT_EQ(desktop.clock.Now(), 1000u);
    EXPECT_EQ(windows.SendMessageTimeoutW(message.documentWindow, getObject, 0, 0,
                                          smto::kAbortIfHung, 1000, &result),
              0);
    EXPECT_EQ(desktop.clock.Now(), 1000u);
    EXPECT_EQ(result, 7u);
}

// Windows converts between the text formats; the clipboard owns its data.
TEST(SimClipboard, TextFormatsStandInForEachOther) {
    SimDesktop desktop;
    desktop.codePage.Set(SimCodePage::Kind::kWindows1252);
    ASSERT_TRUE(desktop.clipboard.PutText(kOtherProcess, u"caf\u00e9 \u20ac"));
    Clipboard& clipboard = desktop.platform().clipboard;
    ASSERT_TRUE(clipboard.OpenClipboard(kNoWindow));
    EXPECT_EQ(clipboard.EnumClipboardFormats(0), cf::kText);
    EXPECT_EQ(clipboard.EnumClipboardFormats(cf::kText), cf::kUnicodeText);
    const MemoryHandle wide = clipboard.GetClipboardData(cf::kUnicodeText);
    ASSERT_NE(wide, kNoMemory);
    const auto* units = static_cast<const char16_t*>(desktop.platform().memory.GlobalLock(wide));
    EXPECT_EQ(String(units), u"caf\u00e9 \u20ac");
    desktop.platform().memory.GlobalUnlock(wide);
    EXPECT_NE(desktop.platform().memory.GlobalFree(wide), kNoMemory);  // the clipboard's
    EXPECT_EQ(desktop.faults.List().size(), 1u);
    EXPECT_TRUE(clipboard.CloseClipboard());
}

int ticks = 0;
void CountTick(WindowHandle, std::uint32_t, std::uintptr_t, std::uint32_t) {
    ++ticks;
}

// A tick that fell due during Sleep comes once; a message box keeps the
// timers running.
TEST(SimMessageLoop, TimersTickWhileTheLoopOrABoxWaitsButNotDuringSleep) {
    SimDesktop desktop;
    ticks = 0;
    const WindowHandle dialog =
        desktop.windows.Create(u"#32770", u"Nimbrel   ", kNoWindow, kProgramProcess);
    Platform& platform = desktop.platform();
    ASSERT_EQ(platform.loop.SetTimer(dialog, 1, 300, CountTick), 1u);
    platform.system.Sleep(1000);
    EXPECT_EQ(ticks, 0);
    Message message;
    ASSERT_EQ(platform.loop.GetMessageW(message), 1);
    platform.loop.DispatchMessageW(message);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(desktop.clock.Now(), 1000u);

    desktop.messageBoxes.Answer(mb::kIdNo, 1000);
    EXPECT_EQ(platform.messageBoxes.MessageBoxW(u"Go on?", u"Nimbrel", mb::kYesNo), mb::kIdNo);
    EXPECT_EQ(ticks, 4);
    EXPECT_TRUE(platform.loop.KillTimer(dialog, 1));
    desktop.loop.StopAt(100000);
    EXPECT_EQ(platform.loop.GetMessageW(message), -1);  // nothing can ever come
}

// Dialog behaviour the options dialog's fixes rely on: setting an edit's text
// reports a change as typing does, and replacing a menu item clears its
// default mark.
TEST(SimDialogs, SettingAnEditReportsAChangeAndModifyMenuClearsTheDefault) {
    struct Recorder : DialogProcedure {
        std::intptr_t DialogProc(WindowHandle, std::uint32_t message, WParam wParam,
                                 LParam) override {
            if (message == wm::kCommand)
                events.push_back(std::to_string(LowWord(wParam)) + ":" +
                                 std::to_string(HighWord(wParam)));
            return 1;
        }
        std::vector<std::string> events;
    } recorder;
    SimDesktop desktop;
    const WindowHandle window =
        desktop.dialogs.CreateDialogParamW(IDD_OPTIONS, kNoWindow, recorder);
    desktop.dialogs.SetDlgItemTextW(window, IDC_OPT_WRAP_COLUMN, u"72");
    EXPECT_EQ(recorder.events, std::vector<std::string>{"1006:768"});

    const MenuHandle menu = desktop.menus.LoadMenuW(IDR_TRAYMENU);
    const MenuHandle popup = desktop.menus.GetSubMenu(menu, 0);
    ASSERT_TRUE(desktop.menus.SetMenuDefaultItem(popup, 0, true));
    ASSERT_TRUE(desktop.menus.ModifyMenuW(popup, 0, mf::kByPosition, ID_TRAY_SHOW_DIALOG, u"Open"));
    EXPECT_EQ(desktop.menus.GetMenuDefaultItem(popup, false), kNoDefaultItem);
    EXPECT_TRUE(desktop.menus.DestroyMenu(menu));
    desktop.windows.DestroyWindow(window);
    EXPECT_TRUE(desktop.faults.Empty());
}

}  // namespace
}  // namespace nimbrel
