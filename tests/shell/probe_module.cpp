// A DLL of our own for tests that load and unload a module: unlike Wine's built-in
// DLLs it is really unloaded when its last reference goes. It has no exports that
// anyone looks for.
extern "C" __declspec(dllexport) int ProbeModuleAnswer() { return 42; }
