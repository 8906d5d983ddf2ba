#include "core/Translate.h"

namespace slidemill {

std::string Translate(const std::string& english) {
    return english;
}

} // namespace slidemill
