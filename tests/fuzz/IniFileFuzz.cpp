// Feeds arbitrary bytes to the settings reader as a whole settings file and checks what every
// reader promises: no crash, lists that keep their rules, and a write that changes only its key.
#include "settings/FramePlacement.h"
#include "settings/IniFile.h"
#include "settings/MainWindowSettings.h"
#include "settings/MruList.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace slidemill;

namespace {

std::string ScratchFile() {
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("slidemill-fuzz-ini-" + std::to_string(getpid()) + ".INI"))
            .string();
    static const bool cleanup = [] {
        return std::atexit([] { std::filesystem::remove(ScratchFile()); }) == 0;
    }();
    (void)cleanup;
    return path;
}

void Check(bool condition) {
    if (!condition)
        std::abort();
}

std::size_t Characters(const std::string& text) {
    std::size_t count = 0;
    for (const char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string path = ScratchFile();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    IniFile ini(path);

    const MainWindowSettings before = ReadMainWindowSettings(ini, false);
    Check(ReadFramePlacement(ini, false).has_value());
    Check(Characters(before.sMoveFileToFolder) <= IniFile::kMaxValueLength);

    clsMRU list;
    list.Setup(6, path, "mruSource");
    Check(list.Count() <= 6 && !list.Dirty());
    for (std::size_t i = 0; i < list.clnMRU().size(); ++i) {
        Check(!list.clnMRU()[i].empty());
        Check(Characters(list.clnMRU()[i]) <= IniFile::kMaxValueLength);
        for (std::size_t j = i + 1; j < list.clnMRU().size(); ++j)
            Check(!SameIgnoringCase(list.clnMRU()[i], list.clnMRU()[j]));
    }

    // A write elsewhere reads back exactly and leaves every window setting as it was.
    const std::string value = "fuzz value " + std::to_string(size);
    Check(ini.WriteString("Fuzz Probe Section", "probe", value));
    Check(ini.ReadString("fuzz probe section", "PROBE", "") == value);
    Check(ReadMainWindowSettings(ini, false) == before);

    // A list written back reads back as it was.
    list.AddUniqueItemToCollection("/fuzz/probe.ppt");
    const std::vector<std::string> items = list.clnMRU();
    Check(list.WriteCollectionToIniFile());
    clsMRU again;
    again.Setup(6, path, "mruSource");
    // Except items no writer makes: a carriage return inside the text (a write keeps the text
    // before it) and the reader's own missing-key marker.
    bool writable = true;
    for (const auto& item : items)
        writable = writable && item.find('\r') == std::string::npos && item != "+-!#";
    Check(!writable || again.clnMRU() == items);
    return 0;
}
