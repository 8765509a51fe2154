// The class names scene scripts may use, and the objects they create.
#ifndef QN_CLASS_TABLE_H
#define QN_CLASS_TABLE_H

class CQNBase;

// A new object of the named class with its defaults (allocation tracked), or
// null for a name that is not in the table (exact, case-sensitive match).
CQNBase* qnCreateSceneObject(const char* className);

#endif
