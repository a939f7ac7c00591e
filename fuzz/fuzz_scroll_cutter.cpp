// The scroll line cutter over any box text, and line_text over the text as
// it may stand later.
#include <string>

#include "console/scroll_cutter.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = zol_fuzz::widen(data, size);
    const auto spans = zol::cut_scroll_lines(text);
    if (text.empty()) {
        FUZZ_CHECK(spans.empty());
        return 0;
    }
    FUZZ_CHECK(!spans.empty());

    // The spans follow one another without gap or overlap, whatever the CRs.
    FUZZ_CHECK(spans.front().start == 1);
    FUZZ_CHECK(spans.back().end == text.size());
    for (std::size_t i = 0; i + 1 < spans.size(); ++i) {
        FUZZ_CHECK(spans[i].start <= spans[i].end);  // only the last can be empty
        FUZZ_CHECK(spans[i + 1].start == spans[i].end + 1);
    }

    bool every_cr_has_lf = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && (i + 1 == text.size() || text[i + 1] != L'\n')) every_cr_has_lf = false;
    }
    std::wstring joined;
    for (std::size_t i = 0; i < spans.size(); ++i) {
        const std::wstring line = zol::line_text(text, spans[i]);
        if (every_cr_has_lf) {
            FUZZ_CHECK(i + 1 == spans.size() || !line.empty());
            FUZZ_CHECK(line.size() <= 98);
        }
        joined += line;
    }
    FUZZ_CHECK(joined == text);
    if (every_cr_has_lf) FUZZ_CHECK(spans.size() <= text.size());

    // The user edits the box during the scroll: the spans still read safely
    // from a shorter text and from a longer one.
    const std::wstring shorter = text.substr(0, text.size() / 2);
    const std::wstring longer = text + text;
    for (const auto& span : spans) {
        FUZZ_CHECK(zol::line_text(shorter, span).size() <= shorter.size());
        FUZZ_CHECK(zol::line_text(longer, span).size() <= longer.size());
    }
    return 0;
}
