<?xml version="1.0"?>
<!DOCTYPE message [<!ENTITY a "aaaa">]>
<message>&a;</message>
