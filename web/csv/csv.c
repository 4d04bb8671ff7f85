/* The reader of csv.h: a state machine over the bytes, one field buffered at a time. */
#include "csv.h"

#include <stdlib.h>
#include <string.h>

enum { row_not_begun, field_not_begun, field_begun, field_may_have_ended };

int csv_init(struct csv_parser* p, unsigned char options) {
  memset(p, 0, sizeof *p);
  p->options = options;
  p->quote_char = '"';
  p->delim_char = ',';
  return 0;
}

void csv_free(struct csv_parser* p) {
  free(p->entry_buf);
  p->entry_buf = NULL;
  p->entry_size = p->entry_pos = 0;
}

void csv_set_delim(struct csv_parser* p, unsigned char c) { p->delim_char = c; }
void csv_set_space_func(struct csv_parser* p, int (*f)(unsigned char)) { p->is_space = f; }
int csv_error(const struct csv_parser* p) { return p->status; }

const char* csv_strerror(int error) {
  switch (error) {
    case CSV_SUCCESS:
      return "success";
    case CSV_EPARSE:
      return "error parsing data while strict checking enabled";
    case CSV_ENOMEM:
      return "memory exhausted while increasing buffer size";
    case CSV_ETOOBIG:
      return "data size too large";
    default:
      return "invalid status code";
  }
}

static int blank(const struct csv_parser* p, unsigned char c) {
  return p->is_space ? p->is_space(c) : c == ' ' || c == '\t';
}

static int put(struct csv_parser* p, unsigned char c) {
  if (p->entry_pos == p->entry_size) {
    const size_t size = p->entry_size ? p->entry_size * 2 : 128;
    char* grown = realloc(p->entry_buf, size);
    if (!grown) return p->status = CSV_ENOMEM, -1;
    p->entry_buf = grown, p->entry_size = size;
  }
  p->entry_buf[p->entry_pos++] = (char)c;
  return 0;
}

/* The field ends: an unquoted one without its trailing blanks; an empty unquoted one as NULL. */
static void field(struct csv_parser* p, void (*cb1)(void*, size_t, void*), void* data) {
  if (!p->quoted) p->entry_pos -= p->spaces;
  if (cb1) {
    if ((p->options & CSV_EMPTY_IS_NULL) && !p->quoted && p->entry_pos == 0)
      cb1(NULL, 0, data);
    else
      cb1(p->entry_buf, p->entry_pos, data);
  }
  p->pstate = field_not_begun;
  p->entry_pos = p->spaces = 0;
  p->quoted = 0;
}

static void record(struct csv_parser* p, int c, void (*cb2)(int, void*), void* data) {
  if (cb2) cb2(c, data);
  p->pstate = row_not_begun;
  p->entry_pos = p->spaces = 0;
  p->quoted = 0;
}

size_t csv_parse(struct csv_parser* p, const void* s, size_t len, void (*cb1)(void*, size_t, void*),
                 void (*cb2)(int, void*), void* data) {
  const unsigned char* bytes = s;
  const unsigned char delim = p->delim_char, quote = p->quote_char;
  const int strict = p->options & CSV_STRICT;
  for (size_t pos = 0; pos < len; ++pos) {
    const unsigned char c = bytes[pos];
    const int line_end = c == '\r' || c == '\n';
    switch (p->pstate) {
      case row_not_begun:
      case field_not_begun:
        if (blank(p, c) && c != delim) break;
        if (line_end) {
          /* An empty line is no record. */
          if (p->pstate == field_not_begun)
            field(p, cb1, data), record(p, c, cb2, data);
          else if (p->options & CSV_REPALL_NL)
            record(p, c, cb2, data);
        } else if (c == delim) {
          field(p, cb1, data);
        } else if (c == quote) {
          p->pstate = field_begun, p->quoted = 1;
        } else {
          p->pstate = field_begun, p->quoted = 0;
          if (put(p, c)) return pos;
        }
        break;
      case field_begun:
        if (c == quote && p->quoted) {
          if (put(p, c)) return pos; /* dropped again when the field ends here */
          p->pstate = field_may_have_ended;
        } else if (c == quote) {
          if (strict) return p->status = CSV_EPARSE, pos;
          if (put(p, c)) return pos;
          p->spaces = 0;
        } else if ((c == delim || line_end) && !p->quoted) {
          field(p, cb1, data);
          if (line_end) record(p, c, cb2, data);
        } else {
          if (put(p, c)) return pos;
          p->spaces = !p->quoted && blank(p, c) ? p->spaces + 1 : 0;
        }
        break;
      case field_may_have_ended:
        /* After a quote inside a quoted field: the field ends, or a doubled quote goes on. */
        if (c == delim || line_end) {
          p->entry_pos -= p->spaces + 1;
          p->spaces = 0;
          field(p, cb1, data);
          if (line_end) record(p, c, cb2, data);
        } else if (blank(p, c)) {
          if (put(p, c)) return pos;
          ++p->spaces;
        } else if (c == quote && !p->spaces) {
          p->pstate = field_begun;
        } else {
          if (strict) return p->status = CSV_EPARSE, pos;
          p->pstate = field_begun, p->spaces = 0;
          if (put(p, c)) return pos;
        }
        break;
    }
  }
  return len;
}

int csv_fini(struct csv_parser* p, void (*cb1)(void*, size_t, void*), void (*cb2)(int, void*), void* data) {
  if (p->pstate == field_begun && p->quoted && (p->options & CSV_STRICT) && (p->options & CSV_STRICT_FINI))
    return p->status = CSV_EPARSE, -1;
  if (p->pstate == field_may_have_ended) {
    p->entry_pos -= p->spaces + 1;
    p->spaces = 0;
  }
  if (p->pstate != row_not_begun) field(p, cb1, data), record(p, -1, cb2, data);
  p->pstate = row_not_begun;
  p->spaces = p->entry_pos = 0;
  p->quoted = 0;
  p->status = 0;
  return 0;
}
