// The signals' bodies come from moc; this file gives it the header.
#include "download/DownloadProgress.h"
