/* The smallest DLL there is: the version tests read only its resources. */
int VekTinyExport(void);
int VekTinyExport(void) { return 1; }
