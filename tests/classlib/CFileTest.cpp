#include <gtest/gtest.h>
#include "classlib/CFile.h"
