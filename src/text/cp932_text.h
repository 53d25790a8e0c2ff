// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// All code page 932 text operations in one include.

#include "text/cp932_chars.h"
#include "text/cp932_convert.h"
#include "text/full_width.h"
#include "text/search.h"
#include "text/trim.h"
#include "text/upper_case.h"
