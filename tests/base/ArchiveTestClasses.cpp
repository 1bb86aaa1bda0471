#include "ArchiveTestClasses.h"

namespace ArchiveTest
{
KV_REGISTER_PERSISTENT_CLASS(CTestLeaf, 1, "CTestLeaf")
KV_REGISTER_PERSISTENT_CLASS(CTestNode, 1, "CTestNode")
KV_REGISTER_PERSISTENT_CLASS(CTestDirectory, 1, "CTestDirectory")
} // namespace ArchiveTest
