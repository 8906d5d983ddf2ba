#include "sched/DateText.h"

#include <cctype>
#include <sstream>
#include <vector>

namespace slidemill {

using namespace std::chrono;

namespace {

std::string TimePart(seconds timeOfDay) {
    const hh_mm_ss clock{timeOfDay};
    const long hour = static_cast<long>(clock.hours().count());
    const long hour12 = hour % 12 == 0 ? 12 : hour % 12;
    const auto two = [](long value) { return (value < 10 ? "0" : "") + std::to_string(value); };
    return std::to_string(hour12) + ":" + two(static_cast<long>(clock.minutes().count())) + ":" +
           two(static_cast<long>(clock.seconds().count())) + (hour < 12 ? " AM" : " PM");
}

// Splits "12/31/1999" or "7:05:00" into its numbers; nullopt when a piece is not 1 to 4 digits.
std::optional<std::vector<int>> Numbers(const std::string& text, char separator) {
    std::vector<int> numbers;
    std::string piece;
    std::istringstream in(text);
    while (std::getline(in, piece, separator)) {
        if (piece.empty() || piece.size() > 4)
            return std::nullopt;
        for (const char c : piece)
            if (!std::isdigit(static_cast<unsigned char>(c)))
                return std::nullopt;
        numbers.push_back(std::stoi(piece));
    }
    if (!text.empty() && text.back() == separator)
        return std::nullopt;
    return numbers;
}

std::optional<seconds> ParseTime(const std::string& clockText, const std::string& marker) {
    const auto parts = Numbers(clockText, ':');
    if (!parts || parts->size() < 2 || parts->size() > 3)
        return std::nullopt;
    int hour = (*parts)[0];
    const int minute = (*parts)[1];
    const int second = parts->size() == 3 ? (*parts)[2] : 0;
    if (minute > 59 || second > 59)
        return std::nullopt;
    if (marker.empty()) {
        if (hour > 23)
            return std::nullopt;
    } else {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (marker == "PM" ? 12 : 0);
    }
    return hours{hour} + minutes{minute} + seconds{second};
}

std::optional<local_days> ParseDate(const std::string& text) {
    const auto parts = Numbers(text, '/');
    if (!parts || parts->size() != 3 || (*parts)[2] < 100)
        return std::nullopt;
    const year_month_day date{year{(*parts)[2]}, month{static_cast<unsigned>((*parts)[0])},
                              day{static_cast<unsigned>((*parts)[1])}};
    if (!date.ok())
        return std::nullopt;
    return local_days{date};
}

} // namespace

std::string GeneralDateText(CivilTime time) {
    const year_month_day date{floor<days>(time)};
    return std::to_string(static_cast<unsigned>(date.month())) + "/" +
           std::to_string(static_cast<unsigned>(date.day())) + "/" +
           std::to_string(static_cast<int>(date.year())) + " " + TimePart(TimeOfDay(time));
}

std::string GeneralTimeText(seconds timeOfDay) {
    return TimePart(timeOfDay);
}

std::optional<CivilTime> ParseGeneralDateText(const std::string& text, CivilTime dateForTimeOnly) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    if (words.empty() || words.size() > 3)
        return std::nullopt;

    std::string marker;
    if (words.size() >= 2) {
        std::string last = words.back();
        for (char& c : last)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (last == "AM" || last == "PM") {
            marker = last;
            words.pop_back();
        }
    }

    if (words.size() == 1 && words[0].find('/') != std::string::npos) {
        if (!marker.empty())
            return std::nullopt;
        const auto date = ParseDate(words[0]);
        return date ? std::optional<CivilTime>{CivilTime{*date}} : std::nullopt;
    }
    if (words.size() == 1) {
        const auto time = ParseTime(words[0], marker);
        return time ? std::optional<CivilTime>{StartOfDay(dateForTimeOnly) + *time} : std::nullopt;
    }
    if (words.size() == 2) {
        const auto date = ParseDate(words[0]);
        const auto time = ParseTime(words[1], marker);
        if (date && time)
            return CivilTime{*date} + *time;
    }
    return std::nullopt;
}

CivilTime StoredDate(const std::string& text, CivilTime today) {
    return ParseGeneralDateText(text, today).value_or(StartOfDay(today));
}

} // namespace slidemill
