#include "app/constants.h"

namespace app {

const Constants kConstants = {
    "",
    {1, 0},
    1.0,
};

}  // namespace app
