// The simulated desktop stands in for Windows and Outlook Express in every
// scenario test; these tests pin down the behaviour those scenarios rely on.
#include "platform/sim/SimDesktop.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/sim/OeTestHost.h"
#include "platform/sim/SimHtmlText.h"

namespace nimbrel {
namespace {

TEST(SimHtmlText, RendersHtmlAsOesEditorGivesItsText) {
    const struct {
        const char16_t* html;
        const char16_t* text;
    } cases[] = {
        {u"a<BR>b<br/>c", u"a\r\nb\r\nc"},
        {u"<DIV>one</DIV><DIV>two</DIV>", u"one\r\ntwo"},
        {u"<P>para</P>text", u"para\r\ntext"},
        {u"x<BLOCKQUOTE>q</BLOCKQUOTE>y", u"x\r\nq\r\ny"},
        {u"<SPAN class=q1>&gt; a &amp; b</SPAN>", u"> a & b"},
        {u"&lt;&#65;&#x42;&nbsp;&unknown;&", u"<AB &unknown;&"},
        {u"source\r\nbreak", u"source break"},
        {u"<!-- <BR> -->kept", u"kept"},
        {u"1 < 2 and no tag", u"1 < 2 and no tag"},
        {u"<DIV><DIV>nested</DIV></DIV>", u"nested"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sim::RenderText(c.html), c.text) << std::u16string(c.html).size();
}

TEST(SimHtmlText, TextSetAsInnerTextReadsBackWithCrLfBreaks) {
    const String text = u"a <b> & c\r\nd\ne\rf\r\n\r\n  indented &nbsp;";
    EXPECT_EQ(sim::EscapeText(text),
              u"a &lt;b&gt; &amp; c<BR>d<BR>e<BR>f<BR><BR>  indented &amp;nbsp;");
    EXPECT_EQ(sim::RenderText(sim::EscapeText(text)), sim::NormalizeLineBreaks(text));
}

TEST(SimHtmlText, HtmlFormatOffsetsPointAtTheFragment) {
    const std::string data = sim::MakeHtmlFormat("<BLOCKQUOTE>x</BLOCKQUOTE>");
    const auto offset = [&](const std::string& name) {
        return std::stoul(data.substr(data.find(name + ":") + name.size() + 1, 10));
    };
    EXPECT_EQ(data.substr(offset("StartFragment"), offset("EndFragment") - offset("StartFragment")),
              "<BLOCKQUOTE>x</BLOCKQUOTE>");
    EXPECT_EQ(data.substr(offset("StartHTML"), 6), "<html>");
    EXPECT_EQ(offset("EndHTML"), data.size());
}

TEST(SimHtmlText, LinearOnPathologicalInput) {
    const String many(200000, u'<');
    EXPECT_EQ(sim::RenderText(many), many);
    const String amps(200000, u'&');
    EXPECT_EQ(sim::RenderText(amps), amps);
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

TEST_F(SimOeTest, TheComposeEditorFollowsTheKeys) {
    const OeNote reply = oe.OpenReply(u"line one\r\nline two\r\n> quoted");
    EXPECT_EQ(oe.CaretLine(reply.note), 0);

    Press(vk::kEnd, true);
    Press(vk::kSpace);
    Press(vk::kA, true);
    Press(vk::kC, true);
    EXPECT_EQ(desktop.clipboard.Text(), u"line one\r\nline two\r\n> quoted ");
    EXPECT_FALSE(desktop.clipboard.IsClipboardFormatAvailable(
        desktop.clipboard.RegisterClipboardFormatW(u"HTML Format")));

    ASSERT_TRUE(desktop.clipboard.PutText(kProgramProcess, u"new\nfirst\r\nsecond\r\nthird"));
    Press(vk::kV, true);
    EXPECT_EQ(oe.BodyText(reply.note), u"new\r\nfirst\r\nsecond\r\nthird");
    EXPECT_EQ(oe.CaretLine(reply.note), 3);
    Press(vk::kUp);
    Press(vk::kUp);
    EXPECT_EQ(oe.CaretLine(reply.note), 1);
    Press(vk::kHome, true);
    EXPECT_EQ(oe.CaretLine(reply.note), 0);
    Press(vk::kUp);
    EXPECT_EQ(oe.CaretLine(reply.note), 0);
}

TEST_F(SimOeTest, UpKeepsTheColumnWhereThePreviousLineIsLongEnough) {
    const OeNote reply = oe.OpenReply(u"ab\r\nlonger line\r\nxyz");
    SimDocument& document = oe.Document(reply.note);
    document.caret = document.anchor = std::u16string(u"ab\r\nlonger line\r\nxy").size();
    Press(vk::kUp);
    EXPECT_EQ(document.caret, std::u16string(u"ab\r\nlo").size());
    Press(vk::kUp);
    EXPECT_EQ(document.caret, 2u);  // end of the short first line
}

TEST_F(SimOeTest, CopyingAnHtmlMessageAlsoPutsHtmlFormatFirst) {
    OeNoteOptions options;
    options.html = true;
    oe.OpenReply(u"<DIV>me</DIV><BLOCKQUOTE>you</BLOCKQUOTE>", options);
    Press(vk::kA, true);
    Press(vk::kC, true);
    const std::uint32_t html = desktop.clipboard.RegisterClipboardFormatW(u"HTML Format");
    const std::vector<std::uint32_t> formats = desktop.clipboard.Formats();
    ASSERT_GE(formats.size(), 2u);
    EXPECT_EQ(formats[0], html);
    EXPECT_NE(desktop.clipboard.Data(html)->find("<BLOCKQUOTE>you</BLOCKQUOTE>"),
              std::string::npos);
    EXPECT_EQ(desktop.clipboard.Text(), u"me\r\nyou");
}

TEST_F(SimOeTest, KeysGoToTheForegroundWindowAndCopyingNeedsTheClipboard) {
    const OeNote first = oe.OpenReply(u"first");
    const OeNote second = oe.OpenReply(u"second");
    ASSERT_EQ(desktop.windows.Foreground(), second.note);

    // Focusing another process's window: only SetForegroundWindow works.
    WindowSystem& windows = desktop.platform().windows;
    EXPECT_EQ(windows.SetFocus(first.note), kNoWindow);
    EXPECT_EQ(windows.SetActiveWindow(first.note), kNoWindow);
    EXPECT_TRUE(windows.SetForegroundWindow(first.note));
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
    EXPECT_EQ(oe.BodyText(second.note), u"second");
}

TEST_F(SimOeTest, WithInputLatencyKeysTakeEffectOnlyAfterAWait) {
    oe.OpenReply(u"text");
    desktop.keyboard.SetInputLatency(100);
    Press(vk::kA, true);
    Press(vk::kC, true);
    EXPECT_FALSE(desktop.clipboard.Text().has_value());
    desktop.platform().system.Sleep(99);
    EXPECT_FALSE(desktop.clipboard.Text().has_value());
    desktop.platform().system.Sleep(1);
    EXPECT_EQ(desktop.clipboard.Text(), u"text");
}

TEST_F(SimOeTest, NoteWindowsAreFoundByClassAndGetTheirTitleLate) {
    OeNoteOptions options;
    options.titleDelay = 200;
    const OeNote reply = oe.OpenReply(u"x", options);
    WindowSystem& windows = desktop.platform().windows;
    EXPECT_EQ(windows.FindWindowExW(kNoWindow, kNoWindow, u"ath_note", nullptr), reply.note);
    char16_t title[128];
    EXPECT_EQ(windows.GetWindowTextW(reply.note, title, 128), 0);
    desktop.Wait(200);
    EXPECT_EQ(windows.GetWindowTextW(reply.note, title, 128), 8);
    EXPECT_EQ(String(title), u"Re: Test");

    oe.TypeSubject(reply.note, String(200, u's'));
    EXPECT_EQ(windows.GetWindowTextW(reply.note, title, 128), 127);
    EXPECT_EQ(title[127], u'\0');

    const WindowHandle envelope =
        windows.FindWindowExW(reply.note, kNoWindow, u"OE_Envelope", nullptr);
    EXPECT_NE(windows.FindWindowExW(envelope, kNoWindow, u"ComboBox", nullptr), kNoWindow);
    const OeNote message = oe.OpenMessage(u"y");
    EXPECT_EQ(windows.FindWindowExW(message.note, kNoWindow, u"OE_Envelope", nullptr), kNoWindow);

    // Enumeration over the top-level note windows, newest first.
    EXPECT_EQ(windows.FindWindowExW(kNoWindow, kNoWindow, u"ATH_NOTE", nullptr), message.note);
    EXPECT_EQ(windows.FindWindowExW(kNoWindow, message.note, u"ATH_NOTE", nullptr), reply.note);
    EXPECT_EQ(windows.FindWindowExW(kNoWindow, reply.note, u"ATH_NOTE", nullptr), kNoWindow);
}

TEST_F(SimOeTest, HandlesOfClosedWindowsComeBackOnlyWithReuse) {
    const OeNote first = oe.OpenMessage(u"a");
    oe.Close(first.note);
    EXPECT_NE(oe.OpenMessage(u"b").note, first.note);

    desktop.windows.SetHandleReuse(true);
    const OeNote second = oe.OpenMessage(u"c");
    oe.Close(second.note);
    EXPECT_EQ(oe.OpenMessage(u"d").note, second.note);
}

TEST_F(SimOeTest, ThePreviewPaneShowsEachMessageInANewDocumentWindow) {
    WindowSystem& windows = desktop.platform().windows;
    const WindowHandle main = windows.FindWindowW(u"Outlook Express Browser Class", nullptr);
    ASSERT_EQ(main, oe.MainWindow());
    const WindowHandle pane =
        windows.FindWindowExW(main, kNoWindow, u"Outlook Express Message View", nullptr);
    ASSERT_EQ(pane, oe.PreviewPane());

    const WindowHandle first = oe.ShowInPreview(u"first");
    const WindowHandle second = oe.ShowInPreview(u"second");
    EXPECT_NE(first, second);
    EXPECT_FALSE(desktop.windows.IsWindow(first));
    EXPECT_EQ(oe.ShowInPreview(u"third", false, 0, true), second);
    EXPECT_EQ(oe.BodyText(second), u"third");

    oe.Exit();
    EXPECT_EQ(windows.FindWindowW(u"Outlook Express Browser Class", nullptr), kNoWindow);
    EXPECT_FALSE(desktop.windows.IsWindow(second));
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
    // Message numbers and clipboard formats share one table of names.
    EXPECT_EQ(desktop.platform().clipboard.RegisterClipboardFormatW(u"wm_html_getobject"),
              getObject);
}

TEST(SimRegistry, ReportsTheSizeOfAValueTooLargeForTheBuffer) {
    SimRegistry registry;
    registry.SetString(kHkeyLocalMachine, "Software\\X", "Path", "C:\\dir");
    RegistryKey key = kNoKey;
    ASSERT_EQ(registry.RegOpenKeyExA(kHkeyLocalMachine, "software\\x", 0, reg::kQueryValue, key),
              reg::kSuccess);
    std::uint8_t data[4];
    std::uint32_t size = sizeof data, type = 0;
    EXPECT_EQ(registry.RegQueryValueExA(key, "PATH", &type, data, &size), reg::kMoreData);
    EXPECT_EQ(size, 7u);
    EXPECT_EQ(type, reg::kTypeString);
    EXPECT_EQ(registry.RegQueryValueExA(key, "other", &type, data, &size), reg::kFileNotFound);
    EXPECT_EQ(registry.RegCloseKey(key), reg::kSuccess);
    EXPECT_EQ(registry.RegCloseKey(key), reg::kInvalidHandle);
    EXPECT_EQ(registry.RegOpenKeyExA(kHkeyLocalMachine, "Software\\Y", 0, reg::kQueryValue, key),
              reg::kFileNotFound);
}

TEST(SimClipboard, TextFormatsStandInForEachOther) {
    SimDesktop desktop;
    desktop.codePage.Set(SimCodePage::Kind::kWindows1252);
    ASSERT_TRUE(desktop.clipboard.PutText(kOtherProcess, u"caf\u00e9 \u20ac"));
    Clipboard& clipboard = desktop.platform().clipboard;
    EXPECT_TRUE(clipboard.IsClipboardFormatAvailable(cf::kUnicodeText));
    EXPECT_EQ(clipboard.EnumClipboardFormats(0), 0u);  // not open
    ASSERT_TRUE(clipboard.OpenClipboard(kNoWindow));
    EXPECT_EQ(clipboard.EnumClipboardFormats(0), cf::kText);
    EXPECT_EQ(clipboard.EnumClipboardFormats(cf::kText), cf::kUnicodeText);
    EXPECT_EQ(clipboard.EnumClipboardFormats(cf::kUnicodeText), 0u);
    const MemoryHandle wide = clipboard.GetClipboardData(cf::kUnicodeText);
    ASSERT_NE(wide, kNoMemory);
    const auto* units = static_cast<const char16_t*>(desktop.platform().memory.GlobalLock(wide));
    EXPECT_EQ(String(units), u"caf\u00e9 \u20ac");
    desktop.platform().memory.GlobalUnlock(wide);
    EXPECT_NE(desktop.platform().memory.GlobalFree(wide), kNoMemory);  // the clipboard's
    EXPECT_EQ(desktop.faults.List().size(), 1u);
    EXPECT_TRUE(clipboard.CloseClipboard());
    EXPECT_FALSE(clipboard.CloseClipboard());
    EXPECT_EQ(desktop.faults.List().size(), 2u);
}

void CountTick(WindowHandle, std::uint32_t, std::uintptr_t, std::uint32_t);
int ticks = 0;
void CountTick(WindowHandle, std::uint32_t, std::uintptr_t, std::uint32_t) {
    ++ticks;
}

TEST(SimMessageLoop, TimersTickWhileTheLoopWaitsButNotDuringSleep) {
    SimDesktop desktop;
    ticks = 0;
    const WindowHandle dialog =
        desktop.windows.Create(u"#32770", u"Nimbrel   ", kNoWindow, kProgramProcess);
    Platform& platform = desktop.platform();
    ASSERT_EQ(platform.loop.SetTimer(dialog, 1, 300, CountTick), 1u);

    platform.system.Sleep(1000);
    EXPECT_EQ(ticks, 0);
    // The tick that fell due during the sleep comes once, at once.
    Message message;
    ASSERT_EQ(platform.loop.GetMessageW(message), 1);
    EXPECT_EQ(message.message, wm::kTimer);
    platform.loop.DispatchMessageW(message);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(desktop.clock.Now(), 1000u);

    ASSERT_EQ(platform.loop.GetMessageW(message), 1);
    EXPECT_EQ(desktop.clock.Now(), 1300u);
    desktop.loop.RunFor(900);
    EXPECT_EQ(ticks, 4);  // 1600, 1900, 2200

    desktop.loop.StopAt(2300);
    platform.loop.DispatchMessageW(message);
    EXPECT_EQ(platform.loop.GetMessageW(message), 0);
    EXPECT_TRUE(platform.loop.KillTimer(dialog, 1));
    desktop.loop.StopAt(100000);
    EXPECT_EQ(platform.loop.GetMessageW(message), -1);  // nothing can ever come
}

TEST(SimMessageBoxes, AScriptedBoxStaysOpenWhileTheTimersTick) {
    SimDesktop desktop;
    ticks = 0;
    const WindowHandle dialog = desktop.windows.Create(u"#32770", u"", kNoWindow, kProgramProcess);
    desktop.platform().loop.SetTimer(dialog, 1, 300, CountTick);
    desktop.messageBoxes.Answer(mb::kIdNo, 1000);
    EXPECT_EQ(desktop.platform().messageBoxes.MessageBoxW(u"Go on?", u"Nimbrel",
                                                          mb::kYesNo | mb::kIconQuestion),
              mb::kIdNo);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(desktop.platform().messageBoxes.MessageBoxW(u"Again?", u"Nimbrel", mb::kYesNo),
              mb::kIdYes);
    ASSERT_EQ(desktop.messageBoxes.Shown().size(), 2u);
    EXPECT_EQ(desktop.messageBoxes.Shown()[0].text, u"Go on?");
}

}  // namespace
}  // namespace nimbrel
