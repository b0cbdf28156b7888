// A shared library for the DLL command tests; each build carries its own mark.
extern "C" int kelvarnDllMark() {
    return KELVARN_DLL_MARK;
}
extern "C" int kelvarnDllAdd(int a, int b) {
    return a + b;
}
