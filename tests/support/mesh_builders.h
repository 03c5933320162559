#pragma once
#include "support/fixtures.h"
