// The storage system calls on Windows: to be written.
#include "storage/system.h"
