#include "run/ShellWords.h"

#include <string_view>

namespace slidemill {

bool SplitShellWords(const std::string& text, std::vector<std::string>& words, std::string& error) {
    words.clear();
    std::string word;
    bool inWord = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '\\') {
            if (++i == text.size()) {
                error = "The arguments end with a lone backslash.";
                return false;
            }
            if (text[i] != '\n') // a backslash before a line end joins the lines
                word += text[i];
        } else if (c == '\'') {
            const std::size_t close = text.find('\'', i + 1);
            if (close == std::string::npos) {
                error = "A single quote in the arguments is not closed.";
                return false;
            }
            word.append(text, i + 1, close - i - 1);
            i = close;
        } else if (c == '"') {
            for (++i;; ++i) {
                if (i == text.size()) {
                    error = "A double quote in the arguments is not closed.";
                    return false;
                }
                if (text[i] == '"')
                    break;
                if (text[i] == '\\' && i + 1 < text.size() &&
                    std::string_view("$`\"\\\n").find(text[i + 1]) != std::string_view::npos) {
                    ++i;
                    if (text[i] == '\n')
                        continue;
                }
                word += text[i];
            }
        } else {
            word += c;
        }
    }
    if (inWord)
        words.push_back(word);
    return true;
}

} // namespace slidemill
