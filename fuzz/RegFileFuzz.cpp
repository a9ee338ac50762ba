// fuzz/RegFileFuzz.cpp - the REGEDIT4 text of the settings store on POSIX.
//
// Input: the file's text; after a NUL, a control byte, a value name, a NUL and the value's
// bytes, set on a key before the document is written. A document written and read again
// must write the same text (repeated saves never change a file), and the value set must read
// back with its type and every byte.
#include "fuzz/FuzzInput.h"
#include "platform/posix/RegFile.h"

using namespace platform::regfile;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> parts = fuzzing::SplitAtNul(fuzzing::AsText(data, size), 3);
    Document document("HKEY_CURRENT_USER");
    document.Parse(parts[0]);
    const std::string written = document.Serialize();

    Document again("HKEY_CURRENT_USER");
    again.Parse(written);
    FUZZ_CHECK(again.Serialize() == written);
    // Only a missing signature is mended by writing.
    FUZZ_CHECK(again.DamagedLines() <= document.DamagedLines());

    if (parts.size() < 2 || parts[1].empty())
        return 0;
    static const uint32_t kTypes[] = {1, 2, 3, 4, 7, 0, 11, 0x7fffffff};
    const uint32_t type = kTypes[static_cast<unsigned char>(parts[1][0]) % 8];
    std::string name = parts[1].substr(1);
    if (name.find('\n') != std::string::npos)
        return 0; // refused before it reaches the document: the format cannot write it
    const std::vector<std::string> key = {"Software", "Morvek", "Fuzz"};
    const std::string bytes = fuzzing::PartOr(parts, 2);
    again.Apply(Op{OpKind::SetValue, key, Value{name, type, bytes}});
    const std::string changed = again.Serialize();
    Document read("HKEY_CURRENT_USER");
    read.Parse(changed);
    const Value* value = read.FindValue(key, name);
    FUZZ_CHECK(value != nullptr);
    FUZZ_CHECK(value->type == type);
    FUZZ_CHECK(value->data == bytes);
    FUZZ_CHECK(read.Serialize() == changed);
    return 0;
}
