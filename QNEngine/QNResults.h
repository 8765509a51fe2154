// Result codes and the HTML result log every failure is reported to.
#ifndef QN_RESULTS_H
#define QN_RESULTS_H

#include <cstdio>

typedef int QNRESULT;

#define QNRSLT_OK 0
#define QNRSLT_INVALIDPARAM 1
#define QNRSLT_MISSINGSCRIPT 2
#define QNRSLT_D3DFAILED 3
#define QNRSLT_NOHARDWARECAP 4
#define QNRSLT_NULLMEMBER 5
// Not a failure: a particle model's life is over.
#define QNRSLT_REMOVEOBJECT 6

#define QNRSLT_COUNT 7

// The process-wide result log. Reports made before open() or after the log
// was finished (by a critical report or destroyInstance) are not written.
class CQNResults {
public:
    virtual ~CQNResults();

    static CQNResults* getInstance();
    // Finishes the log (tail, close) and deletes the instance. Always true.
    static bool destroyInstance();

    // Creates (empties) the log file and writes its head and header row.
    // Always true; a file that cannot be created leaves reports unwritten.
    bool open(const char* path, const char* title);

    // Writes one row for a failure and returns code unchanged. QNRSLT_OK
    // writes nothing. critical == 1 also shows the critical-error box and
    // finishes the log; any other value is not critical.
    QNRESULT logResult(QNRESULT code, const char* location, const char* info, int critical);

private:
    CQNResults();
    void _finish();

    struct Entry {
        char description[256];
        char define[32];
    };
    Entry m_codes[QNRSLT_COUNT];
    FILE* m_stream;
    bool m_finished;

    static CQNResults* s_instance;
};

// Shorthand for CQNResults::getInstance()->logResult(...).
QNRESULT logResult(QNRESULT code, const char* location, const char* info, int critical);

#endif
