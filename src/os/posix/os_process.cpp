#include "os.h"
