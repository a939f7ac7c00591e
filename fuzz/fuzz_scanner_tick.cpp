// One scanner tick over any room tail and any remembered state. The input is
// four pieces separated by byte 1: the remembered speaker, the remembered
// message, the text at switch-on, and the room tail of this tick.
#include <string>

#include "chathost/zol_chat.h"
#include "fuzz_input.h"
#include "scanner/chat_scanner.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = zol_fuzz::split(zol_fuzz::widen(data, size), L'\x01', 4);
    zol::ScannerMemory memory{parts[0], parts[1], parts[2]};
    const zol::ScannerMemory before = memory;
    const std::wstring& tail = parts[3];

    const auto raised = zol::scan_tick(tail, memory);
    if (!raised) {
        FUZZ_CHECK(memory.oldwhosaid == before.oldwhosaid && memory.oldwhatsaid == before.oldwhatsaid);
    } else {
        FUZZ_CHECK(tail != before.scanstarttext);
        FUZZ_CHECK(memory.oldwhosaid == raised->who_said && memory.oldwhatsaid == raised->what_said);
        FUZZ_CHECK(raised->who_said != before.oldwhosaid || raised->what_said != before.oldwhatsaid);

        // The pair comes from the last line: speaker up to its first colon,
        // the message from two characters after it.
        const std::wstring line = zol_chat::LastChatLine(tail);
        FUZZ_CHECK(line.find(L'\r') == std::wstring::npos);
        const std::size_t colon = raised->who_said.size();
        FUZZ_CHECK(raised->who_said.find(L':') == std::wstring::npos);
        FUZZ_CHECK(line.compare(0, colon, raised->who_said) == 0 && line.size() > colon && line[colon] == L':');
        if (!raised->what_said.empty()) FUZZ_CHECK(line.compare(colon + 3, raised->what_said.size(), raised->what_said) == 0);
    }
    FUZZ_CHECK(memory.scanstarttext == before.scanstarttext);

    // The same tail on the next tick, as when the room is quiet, raises
    // nothing.
    const zol::ScannerMemory after = memory;
    FUZZ_CHECK(!zol::scan_tick(tail, memory));
    FUZZ_CHECK(memory.oldwhosaid == after.oldwhosaid && memory.oldwhatsaid == after.oldwhatsaid);
    return 0;
}
