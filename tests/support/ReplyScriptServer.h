// Kept for callers not yet moved to ScriptedServer, which now also does HTTP.
#pragma once

#include "support/ScriptedServer.h"

namespace qvs::test {

using ReplyScriptServer = ScriptedServer;

} // namespace qvs::test
