// Bitmap resources of art_loading_tests (ArtLoading.rc.in).
#pragma once

#define IDB_TEST_STRIPES_RLE8 301
#define IDB_TEST_STRIPES_RGB24 302
#define IDB_TEST_TOO_MANY_COLOURS 303
#define IDB_TEST_TOP_DOWN 304
#define IDB_TEST_WIDE 305
#define IDB_TEST_NO_END 306
