# Test programs of busy/.
