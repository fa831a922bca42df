// The program's whole round: the options dialog as start-up creates it, its
// timer running the watcher, and Outlook Express with every kind of window
// the watcher meets. The user's view: the status list, and the texts in OE.
#include <gtest/gtest.h>

#include <memory>

#include "compose/Watcher.h"
#include "shell/App.h"
#include "shell/Settings.h"
#include "support/WatchScenario.h"
#include "ui/COptionsDlg.h"
#include "ui/ResourceIds.h"

namespace nimbrel {
namespace {

class WatchRoundTest : public WatchScenario {
  protected:
    // Start-up's wiring: the dialog owns the watcher's state, and the
    // timer's target is set before the dialog starts its timer.
    WatchRoundTest() {
        dialog = std::make_unique<COptionsDlg>(desktop.platform());
        app.mainDialog = dialog.get();
        SetWatchTimerTarget(&dialog->Colorer(), dialog.get());
        EXPECT_TRUE(dialog->Create());
        app.mainWindow = dialog->Window();
    }
    ~WatchRoundTest() override {
        SetWatchTimerTarget(nullptr, nullptr);
        dialog.reset();
    }

    // The status list as the user sees it: newest row first.
    std::vector<std::vector<String>> StatusList() {
        return desktop.dialogs.Find(IDD_OPTIONS).Rows(IDC_OPT_STATUS_LIST);
    }

    std::unique_ptr<COptionsDlg> dialog;
};

TEST_F(WatchRoundTest, EveryKindOfWindowIsHandledOnceWithItsStatus) {
    app.emoticons = {{u":-)", u"smile.gif"}};
    OeNoteOptions html = Titled(u"Re: HTML lunch");
    html.html = true;
    OeNoteOptions slow = Titled(u"Re: slow");
    slow.completeDelay = 700;  // OE is still filling this one in

    const OeNote email = oe.OpenReply(kEmailReply, Titled(u"Re: lunch on Thursday"));
    const OeNote news = oe.OpenReply(kNewsReply, Titled(u"Re: new driver"));
    const OeNote htmlReply = oe.OpenReply(kHtmlReply, html);
    const OeNote newMessage = oe.OpenReply(kNewMessageMarker, Titled(u"Thursday"));
    const OeNote message = oe.OpenMessage(kPlainMessage, Titled(u"Lunch"));
    const OeNote loading = oe.OpenReply(kEmailReply, slow);
    const WindowHandle preview = oe.ShowInPreview(u"In the pane\r\n> quoted :-)");

    desktop.loop.RunFor(300);  // one tick
    EXPECT_EQ(StatusList(), (std::vector<std::vector<String>>{
                                {u"Re: lunch on Thursday", u"processed (q)"},
                                {u"Re: new driver", u"processed (q)"},
                                {u"Re: HTML lunch", u"skipped (HTML)"},
                                {u"Thursday", u"processed (sig)"},
                                {u"Lunch", u"processed (c)"},
                            }));
    EXPECT_EQ(oe.BodyText(email.note), kEmailReplyDone);
    EXPECT_EQ(oe.BodyText(news.note), kNewsReplyDone);
    EXPECT_EQ(oe.BodyHtml(htmlReply.note), kHtmlReply);
    EXPECT_EQ(oe.BodyText(newMessage.note), kNewMessageSigned);
    EXPECT_EQ(oe.BodyText(loading.note), kEmailReply);
    for (const WindowHandle coloured : {message.note, oe.PreviewPane()}) {
        const String body = oe.BodyHtml(coloured == oe.PreviewPane() ? preview : coloured);
        EXPECT_EQ(body.rfind(u"<SPAN class=q0>", 0), 0u);
        EXPECT_NE(body.find(u"<span class=q1>&gt; "), String::npos);
        EXPECT_NE(body.find(u"smile.gif"), String::npos);
    }
    EXPECT_EQ(oe.Document(message.note).title, std::optional<String>(u"Nimbrel"));
    EXPECT_EQ(oe.Document(preview).title, std::optional<String>(u"Nimbrel"));

    // The next ticks add only the slow reply, once OE has filled it in.
    desktop.loop.RunFor(1500);
    const auto rows = StatusList();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0], (std::vector<String>{u"Re: slow", u"processed (q)"}));
    EXPECT_EQ(oe.BodyText(loading.note), kEmailReplyDone);

    // The caret waits at the top of the last reply processed.
    EXPECT_EQ(desktop.windows.Foreground(), loading.note);
    EXPECT_EQ(oe.CaretLine(loading.note), 0);

    // OE exits: the program ends, with the controls read back.
    oe.Exit();
    desktop.loop.RunFor(300);
    EXPECT_EQ(app.running, 0);
    EXPECT_TRUE(desktop.messageBoxes.Shown().empty());
}

TEST_F(WatchRoundTest, TheTraysDisableCommandPausesTheRound) {
    ASSERT_TRUE(desktop.ChooseFromTrayMenu(ID_TRAY_DISABLE_ENABLE));
    const OeNote reply = oe.OpenReply(kEmailReply);
    desktop.loop.RunFor(900);
    EXPECT_TRUE(StatusList().empty());
    EXPECT_EQ(oe.BodyText(reply.note), kEmailReply);

    ASSERT_TRUE(desktop.ChooseFromTrayMenu(ID_TRAY_DISABLE_ENABLE));
    desktop.loop.RunFor(300);
    EXPECT_EQ(StatusList(), (std::vector<std::vector<String>>{{u"Re: Test", u"processed (q)"}}));
}

}  // namespace
}  // namespace nimbrel
