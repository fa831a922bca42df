#include "coloring/CHtmlDocAccess.h"

#include <gtest/gtest.h>

#include <functional>

#include "shell/App.h"
#include "shell/Settings.h"
#include "sim/OeTestHost.h"
#include "sim/SimDesktop.h"

namespace nimbrel {
namespace {

class HtmlDocAccessTest : public ::testing::Test {
  protected:
    HtmlDocAccessTest() : oe(desktop) {
        settings = Settings::Defaults();
        app = App{};
        CHtmlDocAccess::ResetProcessState();
        oe.Start();
    }
    ~HtmlDocAccessTest() override {
        EXPECT_TRUE(desktop.faults.Empty()) << desktop.faults.List().front();
        app = App{};
    }

    SimDesktop desktop;
    OeTestHost oe;
};

// Reading and writing as such the scenarios show; here what they do not.
TEST_F(HtmlDocAccessTest, TitlesStyleSheetsAndRefusedWrites) {
    const OeNote reply = oe.OpenReply(u"Hello <you>");
    CHtmlDocAccess access(desktop.platform());
    EXPECT_EQ(access.LocateDocumentWindow(reply.note), reply.documentWindow);
    ASSERT_FALSE(access.Connect());
    // Titles are cut at their first NUL; a null title reads empty.
    String title;
    oe.Document(reply.note).title = String(u"Nimbrel\0tail", 12);
    access.GetTitle(title);
    EXPECT_EQ(title, u"Nimbrel");
    oe.Document(reply.note).title.reset();
    access.GetTitle(title);
    EXPECT_EQ(title, u"");
    EXPECT_FALSE(access.AddStyleSheet(u"C:\\Nimbrel\\styles.css"));
    EXPECT_FALSE(access.AddStyleSheet(u"second.css"));
    EXPECT_EQ(oe.Document(reply.note).styleSheets,
              (std::vector<String>{u"second.css", u"C:\\Nimbrel\\styles.css"}));
    // A refused write is reported.
    const String html = oe.BodyHtml(reply.note);
    oe.Document(reply.note).putResult = hr::kFail;
    EXPECT_TRUE(access.SetInnerText(u"lost"));
    EXPECT_TRUE(access.SetInnerHtml(u"lost"));
    EXPECT_EQ(oe.BodyHtml(reply.note), html);
    access.Release();
    EXPECT_EQ(desktop.documents.OutstandingReferences(), 0u);
}

TEST_F(HtmlDocAccessTest, ConnectFailsWhenTheDocumentCannotBeReached) {
    // Each case turns a fresh reply into one whose document cannot be had and
    // names the window to search from.
    struct Case {
        const char* name;
        std::function<WindowHandle(const OeNote&)> prepare;
        std::uint64_t waited;
    };
    const Case cases[] = {
        {"no document window",
         [&](const OeNote&) {
             return desktop.windows.Create(u"ATH_NOTE", u"x", kNoWindow, kOeProcess);
         },
         0},
        {"hung window",
         [&](const OeNote& n) {
             desktop.windows.Get(n.documentWindow)->hung = true;
             return n.note;
         },
         0},
        {"answers too late",
         [&](const OeNote& n) {
             desktop.windows.Get(n.documentWindow)->responseDelay = 1500;
             return n.note;
         },
         1000},
        {"server window without a document",
         [&](const OeNote&) {
             const WindowHandle top = desktop.windows.Create(u"X", u"", kNoWindow, kOeProcess);
             const WindowHandle host = desktop.windows.Create(u"ME_DocHost", u"", top, kOeProcess);
             const WindowHandle mime =
                 desktop.windows.Create(u"##MIMEEdit_Server", u"", host, kOeProcess);
             desktop.windows.Create(u"Internet Explorer_Server", u"", mime, kOeProcess);
             return top;
         },
         0},
        {"no body yet",
         [&](const OeNote& n) {
             oe.Document(n.note).hasBody = false;
             return n.note;
         },
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const OeNote reply = oe.OpenReply(u"text");
        CHtmlDocAccess access(desktop.platform());
        access.LocateDocumentWindow(c.prepare(reply));

        const std::uint64_t before = desktop.clock.Now();
        EXPECT_TRUE(access.Connect());
        EXPECT_EQ(desktop.clock.Now() - before, c.waited);
        EXPECT_FALSE(access.IsConnected());
        String html = u"unchanged";
        EXPECT_TRUE(access.GetInnerHtml(html));
        EXPECT_EQ(html, u"unchanged");
        EXPECT_TRUE(access.SetInnerText(u"x"));
        access.Release();
        EXPECT_EQ(desktop.documents.OutstandingReferences(), 0u);
    }
}

TEST_F(HtmlDocAccessTest, AClosedWindowDisconnectsAConnectedDocument) {
    const OeNote message = oe.OpenMessage(u"read me");
    CHtmlDocAccess access(desktop.platform());
    access.LocateDocumentWindow(message.note);
    ASSERT_FALSE(access.Connect());
    oe.Close(message.note);

    String text = u"unchanged", title = u"unchanged";
    EXPECT_TRUE(access.GetInnerText(text));
    EXPECT_EQ(text, u"unchanged");
    EXPECT_FALSE(access.IsComplete());
    access.GetTitle(title);
    EXPECT_EQ(title, u"unchanged");
    access.Release();
    EXPECT_TRUE(access.Connect());  // a stale window handle fails to connect
    EXPECT_FALSE(access.IsComplete());
}

TEST_F(HtmlDocAccessTest, ComAndTheLibraryLiveFromTheFirstInstanceToTheLast) {
    {
        CHtmlDocAccess composeDoc(desktop.platform());
        CHtmlDocAccess viewDoc(desktop.platform());
        EXPECT_EQ(CHtmlDocAccess::InstanceCount(), 2);
        EXPECT_EQ(desktop.com.InitCount(), 1);
        EXPECT_EQ(desktop.modules.LoadCount("OLEACC.DLL"), 1);
        // A forgotten Release costs no reference.
        const OeNote reply = oe.OpenReply(u"x");
        composeDoc.LocateDocumentWindow(reply.note);
        ASSERT_FALSE(composeDoc.Connect());
    }
    EXPECT_EQ(CHtmlDocAccess::InstanceCount(), 0);
    EXPECT_EQ(desktop.com.InitCount(), 0);
    EXPECT_EQ(desktop.modules.LoadCount("OLEACC.DLL"), 0);
    EXPECT_EQ(desktop.documents.OutstandingReferences(), 0u);
    EXPECT_TRUE(desktop.messageBoxes.Shown().empty());
}

// The program's own runs (tests/data/ui/program-oleacc-*.case) show the
// boxes; here the one without a language file.
TEST_F(HtmlDocAccessTest, WithoutALanguageFileTheMissingLibraryBoxIsEmpty) {
    desktop.modules.Remove("OLEACC.DLL");
    CHtmlDocAccess noLanguageFile(desktop.platform());
    ASSERT_EQ(desktop.messageBoxes.Shown().size(), 1u);
    EXPECT_EQ(desktop.messageBoxes.Shown()[0].text, u"");
}

}  // namespace
}  // namespace nimbrel
