#include "core/EditorLists.h"

#include "core/Translate.h"

#include <array>

namespace slidemill {

namespace {

// Where special requests go. The packager may point it elsewhere at build time.
#ifndef SLIDEMILL_SUPPORT_EMAIL
#define SLIDEMILL_SUPPORT_EMAIL "support@lumenware.example"
#endif
constexpr const char* kSupportAddress = SLIDEMILL_SUPPORT_EMAIL;

constexpr std::array<const char*, 32> kControlNames = {
    "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "TAB", "LF",   "VT",
    "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",  "SYN",
    "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US",  "Space"};

TypeList CodedList(std::initializer_list<TypeListEntry> entries) {
    TypeList list;
    for (const TypeListEntry& entry : entries)
        list.entries.push_back(
            {"[" + std::to_string(entry.value) + "] " + Translate(entry.text), entry.value});
    return list;
}

std::string Utf8(unsigned codePoint) {
    std::string out;
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    return out;
}

} // namespace

TypeList WindowStateList() {
    return CodedList({{N_("Hidden"), 0}, {N_("Normal"), 1}, {N_("Maximized"), 3}, {N_("Minimized"), 6}});
}

TypeList ThreadPriorityList() {
    return CodedList(
        {{N_("Idle"), 64}, {N_("Normal"), 32}, {N_("High Priority"), 128}, {N_("Realtime Priority"), 256}});
}

std::vector<std::string> CharacterPickerEntries() {
    std::vector<std::string> entries;
    entries.reserve(256);
    entries.push_back(Translate("ASCII Char"));
    for (unsigned code = 1; code <= 32; ++code)
        entries.push_back("[" + std::to_string(code) + "] " + kControlNames[code - 1]);
    for (unsigned code = 33; code <= 255; ++code) {
        // DEL and the C1 controls have no picture: the entry shows the code alone.
        const bool printable = code < 127 || code > 159;
        entries.push_back("[" + std::to_string(code) + "]" + (printable ? Utf8(code) : std::string()));
    }
    return entries;
}

std::string AppendCharacterCode(const std::string& text, int entry) {
    if (entry <= 0 || entry > 255)
        return text;
    return text + "\xC2\xA9" + std::to_string(entry) + "\xC2\xA9";
}

std::string SpecialRequestQuestion() {
    return Translate("You can request that Lumenware add a special processing feature.  Continue?");
}

std::string SpecialRequestDetails() {
    return Translate(
               "Please give us a detailed description of what it is you want to have done to the files.") +
           "\r\r" + Translate("Clicking OK will open the EMail software automatically for you.") + "\r\r" +
           kSupportAddress;
}

std::string SpecialRequestMailto() {
    return std::string("mailto:") + kSupportAddress + "?subject=Slidemill%20special%20processing%20request";
}

} // namespace slidemill
