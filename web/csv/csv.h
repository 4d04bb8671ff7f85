/* The part of libcsv's interface the command line's table reader uses (csv_init, csv_parse,
 * csv_fini and their settings), for the WebAssembly build: Debian installs libcsv for the build
 * machine only.  Same names, same state fields (pstate, quoted), same behaviour on the inputs the
 * table reader gives: fields separated by the delimiter, records ended by CR or LF, empty lines
 * skipped, blanks around an unquoted field dropped, quoted fields with doubled quotes. */
#ifndef VELTRUM_WEB_CSV_H
#define VELTRUM_WEB_CSV_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#define CSV_SUCCESS 0
#define CSV_EPARSE 1
#define CSV_ENOMEM 2
#define CSV_ETOOBIG 3
#define CSV_EINVALID 4

#define CSV_STRICT 1
#define CSV_REPALL_NL 2
#define CSV_STRICT_FINI 4
#define CSV_APPEND_NULL 8
#define CSV_EMPTY_IS_NULL 16

struct csv_parser {
  int pstate;    /* 0 no row begun, 1 no field begun, 2 a field begun, 3 a quoted field may have ended */
  int quoted;    /* the field begun is quoted */
  size_t spaces; /* blanks at the end of the field so far */
  char* entry_buf;
  size_t entry_pos, entry_size;
  int status;
  unsigned char options;
  unsigned char quote_char, delim_char;
  int (*is_space)(unsigned char);
};

int csv_init(struct csv_parser* p, unsigned char options);
void csv_free(struct csv_parser* p);
void csv_set_delim(struct csv_parser* p, unsigned char c);
void csv_set_space_func(struct csv_parser* p, int (*f)(unsigned char));
int csv_error(const struct csv_parser* p);
const char* csv_strerror(int error);
size_t csv_parse(struct csv_parser* p, const void* s, size_t len, void (*cb1)(void*, size_t, void*),
                 void (*cb2)(int, void*), void* data);
int csv_fini(struct csv_parser* p, void (*cb1)(void*, size_t, void*), void (*cb2)(int, void*), void* data);

#ifdef __cplusplus
}
#endif

#endif
