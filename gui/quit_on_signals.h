#pragma once

// Makes SIGTERM and SIGINT end the application the way the Quit command does,
// through the event loop, so that the paths are saved as on any normal exit.
// Call once, after the application object exists.
void quitOnTerminationSignals();
