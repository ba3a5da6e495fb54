// A DLL of our own for tests that load and unload a module: unlike Wine's built-in
// DLLs it is really unloaded when its last reference goes. It needs no code, and it
// lacks the version export that the version query looks for.
