#pragma once

// Keys of this test's own where the program keeps its settings in the
// registry, so that no test reads or changes a person's settings, and
// tests that run at once never share them; removed at the end. Where there
// is no registry, clsPrivateHome's folders do this.
class clsPrivateRegistry {
public:
    clsPrivateRegistry();
    ~clsPrivateRegistry();
    clsPrivateRegistry(const clsPrivateRegistry&) = delete;
    clsPrivateRegistry& operator=(const clsPrivateRegistry&) = delete;
};
