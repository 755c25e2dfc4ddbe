// Ctrl+C and the requests to end the program (closing its terminal or console,
// the system's termination request) turned into a count that the program polls,
// so that a long run stops in order instead of being cut off.
#pragma once

namespace kib::platform {

// From now on these requests are counted instead of ending the program.
void CatchInterrupts();
// The number of requests received since the last call.
int TakeInterrupts();
// Delivers one request to this process as Ctrl+C does (the signal on Linux; the
// console handler on Windows, without disturbing other programs of the console).
void RaiseInterrupt();

} // namespace kib::platform
