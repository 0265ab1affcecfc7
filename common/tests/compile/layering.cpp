// Compiled, never linked, by the test libraries_see_only_what_they_link, with
// the include directories of the library named by its caller: a header of the
// library itself and of what it links must be found; a header of a library it
// does not link (FORBIDDEN, defined as that header's name) must not.
#include HEADER
#ifdef FORBIDDEN
#include FORBIDDEN
#endif
