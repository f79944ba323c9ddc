#include "tools/writer/listing_writer.h"
