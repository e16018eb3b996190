#include "editor/edit_ops.h"

#include "core/editor/edit_fixture.h"
#include "editor/hit_test.h"

namespace qiro {
namespace {

using namespace test;
using EditOps = EditTest;

}  // namespace
}  // namespace qiro
