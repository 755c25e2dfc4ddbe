// An empty program that every object of one layer's library is linked into
// (see kib_layer_link_check in CMakeLists.txt): a call from the layer to a layer
// above it, which its library does not link, leaves an undefined reference.
int main() {
    return 0;
}
