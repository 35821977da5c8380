# Test programs of package/.
