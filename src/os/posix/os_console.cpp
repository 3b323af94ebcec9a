// Written by its module's work.
