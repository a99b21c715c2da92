// Stands in for a header of ui/ above the window framework.
#pragma once
