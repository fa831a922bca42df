#include "coloring/ViewPipeline.h"

#include "coloring/EmoticonReplacer.h"
#include "coloring/Emoticons.h"
#include "coloring/LineMarkup.h"
#include "coloring/TextToHtml.h"
#include "reformat/ViewReformat.h"
#include "shell/TextSearch.h"

#include <algorithm>
#include <utility>

namespace nimbrel {

namespace {

constexpr StringView kFirstSpan = u"<SPAN class=q0>";

}  // namespace

String ColorMessageText(StringView text, const Settings& options, const ViewResources& resources) {
    return ColorMessageText(String(text), options, resources);
}

namespace {

// The end of the pipeline: TextToHtml's lines marked up (MarkupLines) and
// given their emoticons, a line at a time, behind the first span.
// MarkupLines and ReplaceEmoticons work on lines of converted text (each
// ending at a "<BR>" that came from a line feed, every tag in it closed on
// it), and neither a style, nor a quote level, nor a code reaches from one
// line into the next but the signature's end, which LineMarkup writes back
// where it belongs. The last line, when empty, is no line to MarkupLines
// (there is nothing after its "<BR>").
class HtmlLineWriter {
  public:
    // The lines go into `html`; with `out`, what is final is taken off its
    // front and written to `out` as it comes (what LineMarkup may still
    // change is held).
    HtmlLineWriter(const Settings& options, const ViewResources& resources, String& html,
                   TextSink* out)
        : markup_(options.colorMessageView != 0 || options.fontStyles != 0),
          emoticons_(options.emoticons != 0),
          lineMarkup_(resources.styleSheet.styleCount, false, options, resources.emoticons),
          replacer_(emoticons_ ? resources.emoticons : std::span<const EmoticonEntry>(),
                    resources.imagePrefix),
          html_(html),
          out_(out) {
        html_ += kFirstSpan;
    }

    void Line(StringView line, bool last) {
        const std::size_t start = html_.size();
        // Room for the line, its tags and its "<BR>", so that a long line
        // is not moved as it grows.
        html_.reserve(start + line.size() + line.size() / 8 + 64);
        if (markup_ && !(last && line.empty())) {
            lineMarkup_.AppendLine(html_, line);
        } else {
            html_ += line;
        }
        if (emoticons_) replacer_.ReplaceFrom(html_, start);
        if (!last) html_ += u"<BR>";
        if (out_ == nullptr) return;
        // What is final goes out once there is a good piece of it. The last
        // unit stays: the emoticons of the next line are judged by the
        // character before them.
        std::size_t ready = std::min(lineMarkup_.FinalLength(html_), html_.size() - 1);
        if (ready > 0 && IsHighSurrogate(html_[ready - 1])) --ready;  // a pair stays whole
        if (ready >= kWriteLength) Write(ready);
    }

    void Finish() {
        if (out_ != nullptr) Write(html_.size());
    }

  private:
    void Write(std::size_t count) {
        out_->Append(StringView(html_).substr(0, count));
        html_.erase(0, count);
        lineMarkup_.Discard(count);
    }
    static bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

    // HTML is written out in pieces of about this many units.
    static constexpr std::size_t kWriteLength = std::size_t{1} << 15;

    const bool markup_;
    const bool emoticons_;
    LineMarkup lineMarkup_;
    EmoticonReplacer replacer_;
    String& html_;
    TextSink* out_;
};

// The whole pipeline into `html`, written to `out` as it comes when given.
void ColorLines(String&& text, const Settings& options, const ViewResources& resources,
                String& html, TextSink* out) {
    HtmlLineWriter writer(options, resources, html, out);
    HtmlLineStream lines([&writer](StringView line, bool last) { writer.Line(line, last); });
    if (options.reformatMessageView != 0) {
        ViewReformat(options, std::move(text), lines);
    } else {
        // CR LF made LF: the stretches between the CRs of the pairs.
        const String plain = std::move(text);
        std::size_t from = 0;
        for (std::size_t cr; (cr = FindUnitPair(plain, from, u'\r', u'\n')) != StringView::npos;) {
            lines.Append(StringView(plain).substr(from, cr - from));
            from = cr + 1;
        }
        lines.Append(StringView(plain).substr(from));
    }
    lines.Finish();
    writer.Finish();
}

}  // namespace

String ColorMessageText(String&& text, const Settings& options, const ViewResources& resources) {
    // Room for every entity and the markup of a realistic mail, so that the
    // result is not moved as it grows (a line of quote markers grows four
    // times); room that is never written costs no memory.
    std::size_t entities = 0;
    for (const char16_t c : text)
        entities += static_cast<std::size_t>(c == u'&') * 4 +
                    static_cast<std::size_t>(c == u'<' || c == u'>') * 3;
    String html;
    html.reserve(text.size() + entities + text.size() / 2 + 64);
    ColorLines(std::move(text), options, resources, html, nullptr);
    return html;
}

void ColorMessageText(String&& text, const Settings& options, const ViewResources& resources,
                      TextSink& out) {
    String html;
    ColorLines(std::move(text), options, resources, html, &out);
}

String ColorMessageHtml(StringView html, bool isCompose, const Settings& options,
                        const ViewResources& resources) {
    String working(html);
    FinishViewHtml(working, isCompose, options, resources);
    return working;
}

void FinishViewHtml(String& html, bool isCompose, const Settings& options,
                    const ViewResources& resources) {
    if (options.colorMessageView != 0 || isCompose || options.fontStyles != 0) {
        // The first span, then the markup after it, written once.
        String out;
        out.reserve(html.size() + html.size() / 2 + 32);
        out += kFirstSpan;
        LineMarkup(resources.styleSheet.styleCount, isCompose, options, resources.emoticons)
            .AppendLines(out, html);
        html.swap(out);
    } else {
        html.insert(0, kFirstSpan);
    }
    if (options.emoticons != 0 && !isCompose)
        EmoticonReplacer(resources.emoticons, resources.imagePrefix).Replace(html);
}

}  // namespace nimbrel
