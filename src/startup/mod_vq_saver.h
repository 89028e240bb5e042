// The program's start-up module: its only entry.
#pragma once

namespace vq {
class Program;
}

namespace modVQSaver {

// Ends a second instance, reads the switch from the command line and opens the saver
// window, its preview in the host's window, the chooser, or nothing.
void Main(vq::Program& program);

}  // namespace modVQSaver
