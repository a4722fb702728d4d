#include "core/random.h"

namespace quelna {

Random& runRandom() {
    static Random generator;
    return generator;
}

} // namespace quelna
