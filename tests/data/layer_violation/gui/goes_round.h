#pragma once
#include "gui/comes_back.h"
