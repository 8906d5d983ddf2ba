#include "core/Translate.h"

#include "core/Translator.h"

namespace slidemill {

std::string Translate(const std::string& english) {
    return CurrentTranslator().Translate(english);
}

} // namespace slidemill
