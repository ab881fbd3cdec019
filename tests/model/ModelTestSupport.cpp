// Pairs with ModelTestSupport.h so that the meta-object compiler sees the test classes there.
#include "ModelTestSupport.h"
