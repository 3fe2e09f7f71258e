// The functions of the image driver's user library, as the simulation provides them: each
// hands its arguments to the simulator's method of the same name. Nothing is thrown past
// them: a failure inside the simulation becomes a status.

// The library's API, as its header declares it, is what it exports: the library is built
// with hidden visibility, and its version script names the same functions.
#pragma GCC visibility push(default)
#include <imagedriver.h>
#pragma GCC visibility pop
#include "simulator.h"

using zevadriver::Simulator;

namespace {

template <class Work>
qxzevauStatus Guarded(Work work) noexcept {
    try {
        return work(Simulator::Instance());
    } catch (...) {
        return ZEVADRIVER_ERROR_NO_MEMORY;
    }
}

} // namespace

// A row whose parameters differ from the declaration in imagedriver.h is a second function
// of the same C name, which the compiler refuses.
#define ZEVADRIVER_DEFINITION(enumerator, name, parameters, arguments)                             \
    qxzevauStatus name parameters {                                                                \
        return Guarded([&](Simulator& driver) { return driver.name arguments; });                  \
    }
extern "C" {
ZEVADRIVER_FUNCTIONS(ZEVADRIVER_DEFINITION)
}
#undef ZEVADRIVER_DEFINITION
