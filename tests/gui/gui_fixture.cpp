#include "gui_fixture.h"
