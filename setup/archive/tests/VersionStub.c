/* Code of the small libraries that carry the version resources of the tests. */
int VersionStub(void) { return 0; }
