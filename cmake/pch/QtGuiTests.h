// Precompiled for the picture tests: Qt Gui and GoogleTest.
#pragma once
#include "QtGui.h"
#include <gtest/gtest.h>
