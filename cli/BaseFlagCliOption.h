#pragma once

#include "cli/BaseCliOption.h"

class BaseFlagCliOption : public BaseCliOption {};
