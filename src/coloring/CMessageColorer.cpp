#include "coloring/CMessageColorer.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "coloring/Emoticons.h"
#include "coloring/HtmlKind.h"
#include "coloring/ViewPipeline.h"
#include "shell/App.h"
#include "shell/Settings.h"

namespace nimbrel {

namespace {

String InstallDirectory() {
    const char16_t* directory = app.installDirectory;
    return String(directory, std::find(directory, directory + kInstallDirectorySize, u'\0'));
}

}  // namespace

CMessageColorer::CMessageColorer(Platform& platform_)
    : platform(platform_),
      // The data files lie in the current directory, which start-up made the
      // install directory.
      styleSheetInfo(std::filesystem::path(), settings.displayWarnings != 0,
                     platform_.messageBoxes),
      composeDoc(platform_),
      viewDoc(platform_),
      styleSheetPath(InstallDirectory() + kPathSeparator + u"styles.css") {}

CMessageColorer::~CMessageColorer() = default;

std::int32_t CMessageColorer::Colorize(CHtmlDocAccess& access, bool isCompose) {
    if (access.Connect()) {
        // A document without a body stays held by a failed Connect.
        access.Release();
        return kColorNothingToDo;
    }
    if (!access.IsComplete()) {
        access.Release();
        return kColorNotReady;
    }
    String title;
    access.GetTitle(title);
    if (title == kColoredTitle) {
        access.Release();
        return kColorNothingToDo;
    }
    if (settings.reformatMessageView == 0) {
        platform.system.Sleep(static_cast<std::uint32_t>(std::max(settings.oeReactionDelay, 0)));
    }
    String html;
    if (access.GetInnerHtml(html) || html.empty()) {
        access.Release();
        return kColorNotReady;
    }
    if (IsColoredHtml(html) || IsFormattedHtml(html)) {
        access.Release();
        return kColorNothingToDo;
    }

    const String imagePrefix = EmoticonImagePrefix(InstallDirectory());
    const ViewResources resources{styleSheetInfo, app.emoticons, imagePrefix};
    String working;
    if (settings.reformatMessageView != 0 && !isCompose) {
        String text;
        access.GetInnerText(text);
        working = ColorMessageText(text, settings, resources);
    } else {
        working = ColorMessageHtml(html, isCompose, settings, resources);
    }

    access.AddStyleSheet(styleSheetPath);
    access.SetInnerHtml(working);
    if (!isCompose) access.SetTitle(kColoredTitle);
    access.Release();
    return kColorDone;
}

}  // namespace nimbrel
