// The body of the indexing thread.
#pragma once

namespace tamsel {

// Returns when the thread is to end: a stop request or the client shutting down.
void RunIndexingLoop();
// Ends the current wait so that a pass starts now.
void WakeIndexer();

} // namespace tamsel
