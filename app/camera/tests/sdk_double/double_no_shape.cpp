// A double whose entries only log their names and answer codes: enough for
// a family the tests load and free but never drive.
extern const int kDoubleFirstNumber = 0;
