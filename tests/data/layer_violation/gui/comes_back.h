#pragma once
#include "gui/goes_round.h"
