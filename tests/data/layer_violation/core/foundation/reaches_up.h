#pragma once
#include "core/audit/name_merge.h"
