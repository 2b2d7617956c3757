#include "transport/runtime.h"
