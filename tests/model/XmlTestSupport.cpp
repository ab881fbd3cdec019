// Pairs with XmlTestSupport.h so that the meta-object compiler sees the test classes there.
#include "XmlTestSupport.h"
