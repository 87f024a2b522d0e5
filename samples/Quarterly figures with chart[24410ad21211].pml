<?xml version="1.0" encoding="UTF-8"?>
<message>
<id>
<class>GW.MESSAGE.MAIL</class>
<account>Robin Ashdown</account>
<mapi>5C21A9F0.halvorn.po1.100.1.1.1@1</mapi>
</id>
<props>
<core>
<archived>false</archived>
<notify-del>false</notify-del>
<routed>false</routed>
<routed-eol>false</routed-eol>
<read>true</read>
<private>false</private>
<notify-open>false</notify-open>
<hidden>false</hidden>
<opened>true</opened>
<deleted>false</deleted>
<convattach>false</convattach>
<rev-no>1</rev-no>
<reply-days-req>0</reply-days-req>
<reply-req>0</reply-req>
<from>Ellis Fenwick</from>
<subject>Quarterly figures with chart</subject>
<view>mail</view>
<date-create>20261203T091500</date-create>
<date-modified>20261203T091500</date-modified>
<boxtype>1</boxtype>
<priority>2</priority>
<sender email-type="NGW" email-address="ellis.fenwick@halvorn.example">Ellis Fenwick</sender>
<recipients>
<recipient display-name="Robin Ashdown" target-type="0">robin.ashdown@halvorn.example</recipient>
</recipients>
</core>
<body>
<plain><![CDATA[Hello Robin,

the chart below shows the figures of the last four quarters.

[chart]

The full report is on the intranet: https://intranet.halvorn.example/reports/q3

Regards,
Ellis
]]></plain>
<Properties>Message Properties
	From:	Ellis Fenwick
	Created:	12/03/2026 09:15
	Priority:	Standard
</Properties>
</body>
<attachments>
<attach display-name="TEXT.htm" file-name="TEXT.htm">
<content-ids>
<content-id>chart01.png</content-id>
</content-ids>
<![CDATA[eJw9kcFOwzAMhu9IvIOV89Z0gBAaaS4IifPEC6Sr20Ryky52GePpSTvGKcpv+/v/OMbLSNZ4dJ01
I4qDo3eZURo1S799UdZIEEJr9O289rapuwDLhbBRfYqy7d0Y6LIHdpG3jDn0r7AWOPzgHnb1JAU2
2Q8kSnBIbYgbo6dFEo+rrUCLlM7APp0ZFrUPw5yRIfXrlRxLgc4ZTGtPc5nAzEa3tvojmTAOwPnY
qJVX76opDgoclfe8LYqCc+jEN+rhqVbgMQy+lHbPdcl2RXwutjMRZJxSiRSKe1zdjQOfsW+UF5l4
r3WIkl1Eqbyjr5Rjhd9unAj1dZT16VHZW5PR7j/mAQeXO96YNtt3osCrrpedLgtevuT+7hd+n4vR]]>
</attach>
<attach display-name="IMAGE.chart01.png" file-name="chart01.png">
<![CDATA[eJzrDPBz5+WS4mJgYOD19HAJAtIVQBzAwQQkY3+q3QNSnAUekcUMDPyJIMy4wn55JgMDo7Wni2NI
xZy3dzd6OjOKOAQqbzuXmL209d81N5nDinMOKMo45+Qsbg3bdu4hw0mGRR/Z//8VOq95uNlGr19A
yENs9dWs/pdvz+89UK9Y4vKi44LgQmUn95a+HA5bHufNx88VXwQL8D2Le5D/s2KvlGl9RdH/w57i
soJWSsjqOaACJ87Ia8nej+2bVb+7bkbG5JU7kZXcnPie577+Obez8rZ2/ltOhsegmnDzU+2Xn2dP
r/i5/Pblt/My0ndgGk+CgM6+/9e59m/b3fq06OfPg7wLf+rGWSmhqpxoeoVXMuRqrIkEMGwZPF39
XNY5JTQBAE8zoGs=]]>
</attach>
</attachments>
<email>
<completed>false</completed>
<delegated>false</delegated>
<notify-completed>false</notify-completed>
<date-delivered>20261203T091612</date-delivered>
</email>
</props>
<save-log date-saved="20240401T120000" status="0">
<item type="0">Saved by the archiver</item>
</save-log>
</message>
