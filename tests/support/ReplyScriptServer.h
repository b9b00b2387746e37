// The HTTP reply server is ScriptedServer built from a picker (it reads the
// request first); this name stays for callers not yet moved over.
#pragma once

#include "support/ScriptedServer.h"

namespace qvs::test {

using ReplyScriptServer = ScriptedServer;

} // namespace qvs::test
