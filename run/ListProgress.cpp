#include "run/ListProgress.h"

#include "core/Translate.h"
#include "run/Elapsed.h"

namespace slidemill {

std::string ListPercentText(int32_t index, int32_t count) {
    const double percent = count > 0 ? index * 100.0 / count : 0.0;
    return " " + OneDecimal(percent) + Translate(" Percent Complete ");
}

} // namespace slidemill
