// Colouring one document of Outlook Express, as the reader sees it.
#include "coloring/CMessageColorer.h"

#include <gtest/gtest.h>

#include "shell/App.h"
#include "shell/Settings.h"
#include "support/WatchScenario.h"

namespace nimbrel {
namespace {

class MessageColorerTest : public WatchScenario {
  protected:
    MessageColorerTest() { app.emoticons = {{u":-)", u"smile.gif"}}; }

    // Colours what the preview pane shows.
    std::int32_t Colorize() { return ColorizeIn(oe.PreviewPane(), false); }
    // Colours the document of a note window or pane.
    std::int32_t ColorizeIn(WindowHandle parent, bool isCompose) {
        watcher->viewDoc.LocateDocumentWindow(parent);
        return watcher->Colorize(watcher->viewDoc, isCompose);
    }
};

TEST_F(MessageColorerTest, LeavesAloneWhatIsNotItsToColour) {
    const struct {
        const char* name;
        String body;
        bool html;
        std::uint64_t completeDelay;
        const char16_t* title;
        std::int32_t result;
    } cases[] = {
        {"marked as done", kPlainMessage, false, 0, u"Nimbrel", kColorNothingToDo},
        {"a mark in other letter case is no mark", u"x", false, 0, u"NIMBREL", kColorDone},
        {"coloured before", u"<SPAN class=q0>x</SPAN>", true, 0, nullptr, kColorNothingToDo},
        {"formatted HTML mail", u"<P>Dear customer,</P><IMG src=\"x.gif\">", true, 0, nullptr,
         kColorNothingToDo},
        {"bold anywhere", u"plain, then <B>bold</B>", true, 0, nullptr, kColorNothingToDo},
        {"still loading", kPlainMessage, false, 1000, nullptr, kColorNotReady},
        {"empty", u"", true, 0, nullptr, kColorNotReady},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const WindowHandle view = oe.ShowInPreview(c.body, c.html, c.completeDelay);
        if (c.title != nullptr) oe.Document(view).title = String(c.title);
        const String html = oe.BodyHtml(view);
        EXPECT_EQ(Colorize(), c.result);
        if (c.result != kColorDone) {
            EXPECT_EQ(oe.BodyHtml(view), html);
            EXPECT_TRUE(oe.Document(view).styleSheets.empty());
        }
    }
}

TEST_F(MessageColorerTest, NoDocumentReachableIsNothingToDo) {
    const WindowHandle bare = desktop.windows.Create(u"ATH_NOTE", u"x", kNoWindow, kOeProcess);
    EXPECT_EQ(ColorizeIn(bare, false), kColorNothingToDo);

    // OLEACC.DLL missing: colouring silently does nothing.
    watcher.reset();
    CHtmlDocAccess::ResetProcessState();
    desktop.modules.Remove("OLEACC.DLL");
    settings.displayWarnings = 0;
    watcher = std::make_unique<CMessageColorer>(desktop.platform());
    oe.ShowInPreview(kPlainMessage);
    EXPECT_EQ(Colorize(), kColorNothingToDo);
}

TEST_F(MessageColorerTest, WithoutTheViewReformatOesOwnHtmlIsMarkedUpAfterAWait) {
    settings.reformatMessageView = 0;
    const WindowHandle view = oe.ShowInPreview(u"Hi<BR>&gt; quoted<BR>&gt;&gt; deeper", true);
    const std::uint64_t before = desktop.clock.Now();
    EXPECT_EQ(Colorize(), kColorDone);
    EXPECT_EQ(desktop.clock.Now() - before, 200u) << "oeReactionDelay";
    const String html = oe.BodyHtml(view);
    EXPECT_NE(html.find(u"<span class=q1>&gt; quoted"), String::npos);
    EXPECT_NE(html.find(u"<span class=q2>&gt;&gt; deeper"), String::npos);
}

}  // namespace
}  // namespace nimbrel
