#include <gtest/gtest.h>

#include "content/recognisers.h"
