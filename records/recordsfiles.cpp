#include "records/recordsfiles.h"
