#pragma once

#include "support/Wait.h"

#include <functional>

namespace tarvin::viewtest {

using tarvin::testing::Settle;
using tarvin::testing::WaitFor;

} // namespace tarvin::viewtest
