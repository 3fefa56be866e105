#include "import/ReaderSupport.h"

#include "model/Errors.h"
#include "model/NumberText.h"

namespace vandra::s2k {

void CheckRange(int value, int count, std::string_view what, int lineIndex) {
    if (value >= 1 && value <= count) return;
    throw InputError(text::Format("Line %d: %s %d is outside 1..%d",
                                  {lineIndex + 1, what, value, CountOf(count)}));
}

} // namespace vandra::s2k
