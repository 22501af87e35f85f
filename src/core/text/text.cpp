#include "core/text/text.h"
