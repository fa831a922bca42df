// CMessageColorer: colours the documents Outlook Express shows, and carries
// the watcher's state (its flags and the two document access objects). One
// instance, a member of the main dialog, created and destroyed with it.
#pragma once

#include <cstdint>

#include "coloring/CHtmlDocAccess.h"
#include "coloring/CStyleSheetInfo.h"
#include "platform/Platform.h"
#include "shell/Text.h"

namespace nimbrel {

// The title that marks a document as coloured.
constexpr const char16_t* kColoredTitle = u"Nimbrel";

// Results of Colorize.
constexpr std::int32_t kColorDone = 0;
constexpr std::int32_t kColorNothingToDo = 1;
constexpr std::int32_t kColorNotReady = -1;

class CMessageColorer {
  public:
    // Reads the style count from styles.css in the current directory (the
    // install directory), with its warning boxes; constructs composeDoc and
    // then viewDoc; builds the style sheet path from `installDirectory`.
    // `platform` must outlive the object.
    explicit CMessageColorer(Platform& platform);
    virtual ~CMessageColorer();
    CMessageColorer(const CMessageColorer&) = delete;
    CMessageColorer& operator=(const CMessageColorer&) = delete;

    // Colours the document of `access`, whose window the caller has found
    // (LocateDocumentWindow). `isCompose` is true for a compose window's
    // body. Reads the settings record. Results:
    //   kColorDone (0)         coloured: the style sheet attached, the body's
    //                          HTML replaced and, unless isCompose, the title
    //                          set to "Nimbrel";
    //   kColorNothingToDo (1)  no document reachable, already coloured (the
    //                          title "Nimbrel" or "<SPAN class=q0>" in the
    //                          HTML) or a formatted HTML message;
    //   kColorNotReady (-1)    the document is not complete yet, or its HTML
    //                          cannot be read or is empty.
    // A plain-text message (`reformatMessageView`, not isCompose) is built
    // from the body's text with the view reformat and converted to HTML;
    // otherwise the document's own HTML is marked up. Without
    // `reformatMessageView` it first waits `oeReactionDelay`. The document
    // is released on every path.
    std::int32_t Colorize(CHtmlDocAccess& access, bool isCompose);

    Platform& GetPlatform() { return platform; }

  private:
    Platform& platform;

  public:
    // The watcher's flags: while `suspended` is set the watcher leaves every
    // window alone; `busy` is set while a tick runs and turns nested ticks
    // away.
    std::uint8_t suspended = 0;
    std::uint8_t busy = 0;
    CStyleSheetInfo styleSheetInfo;
    // For note windows (compose and message windows) and for the preview
    // pane.
    CHtmlDocAccess composeDoc;
    CHtmlDocAccess viewDoc;
    // installDirectory, the path separator ('\' on Windows) and "styles.css".
    String styleSheetPath;
};

}  // namespace nimbrel
